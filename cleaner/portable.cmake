# The host's units that need no Windows call, and their tests: built into the Windows
# programs and natively with the sanitizers. Set cleaner_dir before including this.
set(morvel_portable_sources
  ${cleaner_dir}/Wording.cpp ${cleaner_dir}/CommandLine.cpp ${cleaner_dir}/IntegerText.cpp
  ${cleaner_dir}/PresetNames.cpp ${cleaner_dir}/TextEntries.cpp ${cleaner_dir}/FormRules.cpp
  ${cleaner_dir}/RunLog.cpp ${cleaner_dir}/VktCheck.cpp ${cleaner_dir}/FolderWildcards.cpp)
set(morvel_portable_tests
  ${cleaner_dir}/tests/WordingTest.cpp ${cleaner_dir}/tests/CommandLineTest.cpp
  ${cleaner_dir}/tests/IntegerTextTest.cpp ${cleaner_dir}/tests/PresetNamesTest.cpp
  ${cleaner_dir}/tests/FormRulesTest.cpp ${cleaner_dir}/tests/RunLogTest.cpp)
set(textentries_tests ${cleaner_dir}/tests/TextEntriesTest.cpp ${cleaner_dir}/tests/VktCheckTest.cpp
  ${cleaner_dir}/tests/FolderWildcardsTest.cpp)
