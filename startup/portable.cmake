# The units of stelmar that need no Windows call, and their tests: built into the Windows
# programs and natively with the sanitizers. Set stelmar_dir before including this.
set(stelmar_base_portable_sources
  ${stelmar_dir}/platform/errorresources/Assertion.cpp
  ${stelmar_dir}/platform/errorresources/SystemReport.cpp
  ${stelmar_dir}/util/parser/StringTokenizerImpl.cpp
  ${stelmar_dir}/util/config/ConfigImpl.cpp
  ${stelmar_dir}/util/config/Scrambler.cpp)
set(stelmar_base_portable_tests
  ${stelmar_dir}/tests/base/ExceptionsTest.cpp
  ${stelmar_dir}/tests/base/AssertionTest.cpp
  ${stelmar_dir}/tests/base/SystemReportTest.cpp
  ${stelmar_dir}/tests/base/StringTokenizerTest.cpp
  ${stelmar_dir}/tests/base/ConfigImplTest.cpp
  ${stelmar_dir}/tests/base/ScramblerTest.cpp)
set(stelmar_store_portable_sources
  ${stelmar_dir}/StartupConstants.cpp
  ${stelmar_dir}/StartupItem.cpp
  ${stelmar_dir}/database/BackupFile.cpp
  ${stelmar_dir}/database/KeptValues.cpp
  ${stelmar_dir}/util/parser/ArgumentParserHelpers.cpp)
set(stelmar_store_portable_tests
  ${stelmar_dir}/tests/store/StartupItemTest.cpp
  ${stelmar_dir}/tests/store/BackupFileTest.cpp
  ${stelmar_dir}/tests/store/KeptValuesTest.cpp
  ${stelmar_dir}/tests/store/ArgumentParserHelpersTest.cpp
  ${stelmar_dir}/tests/store/MapperTest.cpp)
