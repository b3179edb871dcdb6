# The cleaner's units that need no Windows call, room by room, and their tests: the one
# list of each library, built into the Windows programs and natively with the sanitizers
# and the fuzzers. Set cleaner_dir before including this.
set(morvel_textplugin_portable_sources ${cleaner_dir}/textplugin/TextEntries.cpp)
set(morvel_textplugin_portable_tests ${cleaner_dir}/tests/textplugin/TextEntriesTest.cpp)

set(morvel_host_portable_sources
  ${cleaner_dir}/host/Wording.cpp ${cleaner_dir}/host/CommandLine.cpp
  ${cleaner_dir}/host/IntegerText.cpp ${cleaner_dir}/host/PresetNames.cpp
  ${cleaner_dir}/host/RunLog.cpp)
set(morvel_host_portable_tests
  ${cleaner_dir}/tests/host/WordingTest.cpp ${cleaner_dir}/tests/host/CommandLineTest.cpp
  ${cleaner_dir}/tests/host/IntegerTextTest.cpp ${cleaner_dir}/tests/host/PresetNamesTest.cpp
  ${cleaner_dir}/tests/host/RunLogTest.cpp)

set(morvel_forms_portable_sources ${cleaner_dir}/forms/FormRules.cpp)
set(morvel_forms_portable_tests ${cleaner_dir}/tests/forms/FormRulesTest.cpp)

set(vktcheck_portable_sources ${cleaner_dir}/tools/vktcheck/VktCheck.cpp)
set(vktcheck_portable_tests ${cleaner_dir}/tests/tools/vktcheck/VktCheckTest.cpp)
