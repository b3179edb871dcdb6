set(cleaner_dir ${VARNICK_ROOT}/cleaner)
varnick_native_test(morvel_portable_tests
  ${cleaner_dir}/Wording.cpp ${cleaner_dir}/CommandLine.cpp ${cleaner_dir}/IntegerText.cpp ${cleaner_dir}/PresetNames.cpp
  ${cleaner_dir}/tests/WordingTest.cpp ${cleaner_dir}/tests/CommandLineTest.cpp
  ${cleaner_dir}/tests/IntegerTextTest.cpp ${cleaner_dir}/tests/PresetNamesTest.cpp)
varnick_native_test(textentries_tests
  ${cleaner_dir}/TextEntries.cpp ${cleaner_dir}/tests/TextEntriesTest.cpp)
