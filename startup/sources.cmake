# The source lists of stelmar's libraries, one list per library, shared by the Windows
# build (CMakeLists.txt), the native build (native.cmake) and the fuzzers. Portable lists
# hold units that include only the standard library. A file named here that is missing stops
# the configuration. Set stelmar_dir before including this.

# Error reporting, whole-file load and save, the configuration file (stelmar_base).
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
set(stelmar_base_sources
  ${stelmar_dir}/platform/errorresources/SystemErrors.cpp
  ${stelmar_dir}/platform/errorresources/SystemInformation.cpp
  ${stelmar_dir}/platform/errorresources/ApplicationReporter.cpp
  ${stelmar_dir}/io/file/FileHelper.cpp
  ${stelmar_dir}/util/config/ScrambledConfigFile.cpp)
set(stelmar_base_tests
  ${stelmar_dir}/tests/base/SystemErrorsTest.cpp
  ${stelmar_dir}/tests/base/FileHelperTest.cpp
  ${stelmar_dir}/tests/base/ScrambledConfigFileTest.cpp
  ${stelmar_dir}/tests/base/SystemInformationTest.cpp
  ${stelmar_dir}/tests/base/ApplicationReporterTest.cpp)

# Entries, registry access, the registry and autostart databases and the interface over
# them (stelmar_store, built on stelmar_base).
set(stelmar_store_portable_sources
  ${stelmar_dir}/StartupConstants.cpp
  ${stelmar_dir}/StartupItem.cpp
  ${stelmar_dir}/database/BackupFile.cpp
  ${stelmar_dir}/database/KeptValues.cpp
  ${stelmar_dir}/database/StartupApprovedFlag.cpp
  ${stelmar_dir}/util/parser/ArgumentParserHelpers.cpp
  ${stelmar_dir}/util/NativePaths.cpp)
set(stelmar_store_portable_tests
  ${stelmar_dir}/tests/store/StartupItemTest.cpp
  ${stelmar_dir}/tests/store/BackupFileTest.cpp
  ${stelmar_dir}/tests/store/KeptValuesTest.cpp
  ${stelmar_dir}/tests/store/StartupApprovedFlagTest.cpp
  ${stelmar_dir}/tests/store/ArgumentParserHelpersTest.cpp
  ${stelmar_dir}/tests/store/MapperTest.cpp
  ${stelmar_dir}/tests/store/NativePathsTest.cpp)
set(stelmar_store_sources
  ${stelmar_dir}/windows/registry/RegistryKeyImpl.cpp
  ${stelmar_dir}/windows/registry/RegistryReaderImpl.cpp
  ${stelmar_dir}/windows/registry/RegistryWriterImpl.cpp
  ${stelmar_dir}/database/RegistryBackup.cpp
  ${stelmar_dir}/database/StartupApproved.cpp
  ${stelmar_dir}/database/RegistryDatabase.cpp
  ${stelmar_dir}/windows/file/WindowsFileHelper.cpp
  ${stelmar_dir}/windows/file/NativeView.cpp
  ${stelmar_dir}/windows/file/Shortcut.cpp
  ${stelmar_dir}/database/AutostartDatabase.cpp
  ${stelmar_dir}/StartupInterface.cpp
  ${stelmar_dir}/EntryMoves.cpp
  ${stelmar_dir}/StartupStores.cpp
  ${stelmar_dir}/StartupReportSource.cpp)
set(stelmar_store_tests
  ${stelmar_dir}/tests/store/StoreFixtures.cpp
  ${stelmar_dir}/tests/store/RegistryLayerTest.cpp
  ${stelmar_dir}/tests/store/RegistryDatabaseTest.cpp
  ${stelmar_dir}/tests/store/AutostartDatabaseTest.cpp
  ${stelmar_dir}/tests/store/WindowsFileHelperTest.cpp
  ${stelmar_dir}/tests/store/StartupInterfaceTest.cpp
  ${stelmar_dir}/tests/store/EntryMovesTest.cpp
  ${stelmar_dir}/tests/store/StartupStoresTest.cpp
  ${stelmar_dir}/tests/store/RegistryViewTest.cpp
  ${stelmar_dir}/tests/store/Windows64StoreTest.cpp)

# The dialogs' helpers: strings, web addresses, the Windows version, starting programs, the
# browser, and the newsletter sign-up prompt with its dialog (stelmar_helpers, built on
# stelmar_store).
set(stelmar_helpers_portable_sources
  ${stelmar_dir}/util/StringHelper.cpp
  ${stelmar_dir}/util/UrlEncoder.cpp
  ${stelmar_dir}/util/newsletter/SimpleSignUp.cpp)
set(stelmar_helpers_portable_tests
  ${stelmar_dir}/tests/helpers/StringHelperTest.cpp
  ${stelmar_dir}/tests/helpers/UrlEncoderTest.cpp
  ${stelmar_dir}/tests/helpers/SimpleSignUpTest.cpp)
set(stelmar_helpers_sources
  ${stelmar_dir}/windows/info/InfoHelper.cpp
  ${stelmar_dir}/windows/process/ProcessHelper.cpp
  ${stelmar_dir}/windows/internet/InternetHelper.cpp
  ${stelmar_dir}/ui/SignupDialog.cpp)
set(stelmar_helpers_tests
  ${stelmar_dir}/tests/helpers/WindowsHelpersTest.cpp
  ${stelmar_dir}/tests/helpers/SignupDialogTest.cpp)

# The program stelmar: its dialogs, the tree and list wrappers, and start-up (stelmar_ui,
# built on stelmar_helpers).
set(stelmar_ui_portable_sources
  ${stelmar_dir}/ui/StelmarModel.cpp
  ${stelmar_dir}/ui/LoadOrderModel.cpp)
set(stelmar_ui_portable_tests
  ${stelmar_dir}/tests/ui/StelmarModelTest.cpp
  ${stelmar_dir}/tests/ui/LoadOrderModelTest.cpp)
set(stelmar_ui_sources
  ${stelmar_dir}/ui/TreeControl.cpp
  ${stelmar_dir}/ui/ListControl.cpp
  ${stelmar_dir}/ui/MessageBoxHandler.cpp
  ${stelmar_dir}/ui/AddEntryDialog.cpp
  ${stelmar_dir}/ui/LoadOrderDialog.cpp
  ${stelmar_dir}/ui/StelmarDlg.cpp)
set(stelmar_ui_tests
  ${stelmar_dir}/tests/ui/RemoteTree.cpp
  ${stelmar_dir}/tests/ui/StelmarDialogTest.cpp
  ${stelmar_dir}/tests/ui/ListControlTest.cpp)

