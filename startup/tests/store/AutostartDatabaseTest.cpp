#include <gtest/gtest.h>

#include "startup/StartupConstants.h"
#include "startup/database/AutostartDatabase.h"
#include "startup/platform/errorresources/Exceptions.h"
#include "startup/platform/errorresources/SystemErrors.h"
#include "startup/tests/store/AssertionCatcher.h"
#include "startup/tests/store/StoreFixtures.h"
#include "startup/windows/file/Shortcut.h"
#include "tests/harness/Harness.h"

namespace {

using products::stelmar::StartupConstants;
using products::stelmar::StartupItem;
using products::stelmar::database::AutostartDatabase;
using windows::file::IShellLinkShortcut;
using windows::file::ShortcutWriter;

const char* const SHELL_FOLDERS =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const int CU_AUTOSTART = StartupConstants::CU_RUN_AUTOSTART;
const int ENABLED = StartupConstants::ENABLED;
const int DISABLED = StartupConstants::DISABLED;

class AutostartDatabaseTest : public ::testing::Test {
 protected:
  AutostartDatabaseTest() {
    autostart = folder / "Start Menu\\Startup\\";
    backup = folder / "cuas\\";
    ::CreateDirectoryA((folder / "Start Menu").c_str(), nullptr);
    ::CreateDirectoryA(autostart.c_str(), nullptr);
    // Stored without its trailing backslash, as Windows keeps it.
    storetests::SetText(HKEY_CURRENT_USER, SHELL_FOLDERS, "Startup",
                        autostart.substr(0, autostart.size() - 1));
  }

  void shortcut(const std::string& path, const std::string& target, const std::string& arguments) {
    ShortcutWriter(path).write(target, arguments, autostart, "");
  }

  storetests::ScratchRegistry registry;
  harness::TempFolder folder;
  std::string autostart;
  std::string backup;
};

TEST_F(AutostartDatabaseTest, LocationsOfTheAutostartTypes) {
  const char* const userShellFolders =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
  struct Case {
    int type;
    HKEY hive;
    const char* key;
    const char* value;
  };
  const Case cases[] = {{7, HKEY_LOCAL_MACHINE, SHELL_FOLDERS, "Common Startup"},
                        {8, HKEY_LOCAL_MACHINE, userShellFolders, "Common Startup"},
                        {9, HKEY_CURRENT_USER, SHELL_FOLDERS, "Startup"},
                        {10, HKEY_CURRENT_USER, userShellFolders, "Startup"}};
  for (const Case& c : cases) {
    const AutostartDatabase::Location location = AutostartDatabase::getLocation(c.type);
    EXPECT_EQ(c.hive, location.hive);
    EXPECT_EQ(c.key, location.keyPath);
    EXPECT_EQ(c.value, location.valueName);
  }
  AssertionCatcher assertions;
  EXPECT_EQ("", AutostartDatabase::getLocation(5).keyPath);
  EXPECT_EQ(1u, assertions.count("false"));
  EXPECT_EQ(HKEY_CURRENT_USER, AutostartDatabase::getLocation(13).hive);
  EXPECT_EQ(1u, assertions.count("type < StartupConstants::MAX_TYPES"));
}

TEST_F(AutostartDatabaseTest, ListsShortcutsAndProgramsThenKeptOnes) {
  AutostartDatabase database(CU_AUTOSTART, backup);
  ASSERT_TRUE(database.isWorking()) << database.getFailureReason();
  EXPECT_EQ(autostart, database.getFolder());
  EXPECT_TRUE(harness::FileExists(backup));

  shortcut(autostart + "Plain.lnk", "C:\\windows\\notepad.exe", "");
  shortcut(autostart + "Args.lnk", "C:\\windows\\notepad.exe", "/p file.txt");
  shortcut(autostart + "a.lnk.bak", "C:\\windows\\regedit.exe", "");
  harness::WriteTextFile(autostart + "notes.txt", "not started");
  harness::WriteTextFile(autostart + "setup.EXE", "MZ");
  ::CreateDirectoryA((autostart + "folder.exe").c_str(), nullptr);
  shortcut(backup + "Kept.lnk", "C:\\windows\\kept.exe", "-k");

  std::vector<StartupItem> entries = database.getEntries();
  std::sort(entries.begin(), entries.end() - 1, products::stelmar::StartupItemOrder());
  ASSERT_EQ(5u, entries.size());
  struct Expected {
    const char* name;
    std::string data;
    int state;
  };
  const Expected expected[] = {{"a.lnk.bak", "C:\\windows\\regedit.exe ", ENABLED},
                               {"Args.lnk", "C:\\windows\\notepad.exe /p file.txt", ENABLED},
                               {"Plain.lnk", "C:\\windows\\notepad.exe ", ENABLED},
                               {"setup.EXE", autostart + "setup.EXE", ENABLED},
                               {"Kept.lnk", "C:\\windows\\kept.exe -k", DISABLED}};
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(expected[i].name, entries[i].getName());
    EXPECT_EQ(expected[i].data, entries[i].getData()) << expected[i].name;
    EXPECT_EQ(expected[i].state, entries[i].getState()) << expected[i].name;
    EXPECT_EQ(CU_AUTOSTART, entries[i].getType());
  }
}

TEST_F(AutostartDatabaseTest, AFolderNamedWithVariablesIsExpanded) {
  ::SetEnvironmentVariableA("VARNICKSTORETEST", folder.path().c_str());
  const std::string value = "%VARNICKSTORETEST%Start Menu\\Startup";
  storetests::SetValue(HKEY_LOCAL_MACHINE,
                       "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                       "Common Startup", REG_EXPAND_SZ, value + std::string(1, '\0'));
  AutostartDatabase database(StartupConstants::LM_RUN_AUTOSTART_USER, backup);
  ASSERT_TRUE(database.isWorking()) << database.getFailureReason();
  EXPECT_EQ(autostart, database.getFolder());
  EXPECT_EQ(StartupConstants::LM_RUN_AUTOSTART_USER, database.getType());
}

TEST_F(AutostartDatabaseTest, TheLiveFileIsShownOnceAndAKeptNewcomerStays) {
  // The same file twice (an operation cut short) is shown once, live; a different file of
  // the same name (any case) stays kept, named in the live entry's note.
  AutostartDatabase database(CU_AUTOSTART, backup);
  shortcut(autostart + "Both.lnk", "C:\\live.exe", "");
  ::CopyFileA((autostart + "Both.lnk").c_str(), (backup + "Both.lnk").c_str(), FALSE);
  shortcut(autostart + "Twin.lnk", "C:\\live.exe", "");
  shortcut(backup + "TWIN.lnk", "C:\\kept.exe", "");
  const std::vector<StartupItem> entries = database.getEntries();
  ASSERT_EQ(2u, entries.size());
  EXPECT_EQ("C:\\live.exe ", entries[0].getData());
  EXPECT_EQ("", entries[0].getNote());
  EXPECT_NE(std::string::npos, entries[1].getNote().find("C:\\kept.exe "));
  EXPECT_FALSE(harness::FileExists(backup + "Both.lnk"));
  EXPECT_TRUE(harness::FileExists(backup + "TWIN.lnk"));
}

TEST_F(AutostartDatabaseTest, DisableEnableDeleteAndAdd) {
  AutostartDatabase database(CU_AUTOSTART, backup);
  StartupItem item(CU_AUTOSTART, ENABLED, "Tool", "C:\\tools\\tool.exe -a -b");
  const StartupItem formatted = database.formatEntry(item);
  EXPECT_EQ("Tool.lnk", formatted.getName());
  StartupItem upper(CU_AUTOSTART, ENABLED, "Tool.LNK", "x");
  EXPECT_EQ("Tool.LNK", database.formatEntry(upper).getName());
  StartupItem dotted(CU_AUTOSTART, ENABLED, "My.Tool v2", "x");
  EXPECT_EQ("My.Tool v2.lnk", database.formatEntry(dotted).getName());

  StartupItem tool = formatted;
  database.addEntry(tool);
  {
    IShellLinkShortcut written(autostart + "Tool.lnk");
    EXPECT_EQ("C:\\tools\\tool.exe", written.getPath());
    EXPECT_EQ("-a -b", written.getArguments());
    EXPECT_EQ(autostart, written.getWorkingDirectory());
    EXPECT_EQ("", written.getDescription());
  }
  ASSERT_EQ(1u, database.getEntries().size());
  EXPECT_EQ("C:\\tools\\tool.exe -a -b", database.getEntries()[0].getData());

  database.disableEntry(tool);
  EXPECT_EQ(DISABLED, tool.getState());
  EXPECT_TRUE(tool.isChanged());
  EXPECT_FALSE(harness::FileExists(autostart + "Tool.lnk"));
  EXPECT_TRUE(harness::FileExists(backup + "Tool.lnk"));
  ASSERT_EQ(1u, database.getEntries().size());
  EXPECT_EQ(DISABLED, database.getEntries()[0].getState());

  database.enableEntry(tool);
  EXPECT_EQ(ENABLED, tool.getState());
  EXPECT_FALSE(tool.isChanged());
  EXPECT_TRUE(harness::FileExists(autostart + "Tool.lnk"));

  // A copy of the same name in the backup folder is never overwritten by a disable.
  shortcut(backup + "Tool.lnk", "C:\\older.exe", "");
  EXPECT_THROW(database.disableEntry(tool), windows::file::CouldNotMoveFileException);
  EXPECT_TRUE(harness::FileExists(autostart + "Tool.lnk"));
  EXPECT_EQ("C:\\older.exe", IShellLinkShortcut(backup + "Tool.lnk").getPath());

  database.deleteEntry(tool);
  EXPECT_FALSE(harness::FileExists(autostart + "Tool.lnk"));
  EXPECT_FALSE(harness::FileExists(backup + "Tool.lnk"));
  database.deleteEntry(tool);
  EXPECT_TRUE(database.getEntries().empty());
}

TEST_F(AutostartDatabaseTest, AQuotedTargetRoundTrips) {
  AutostartDatabase database(CU_AUTOSTART, backup);
  StartupItem item(CU_AUTOSTART, ENABLED, "Quoted.lnk", "\"C:\\Program Files\\x\\y.exe\" /s");
  database.addEntry(item);
  IShellLinkShortcut written(autostart + "Quoted.lnk");
  EXPECT_EQ("C:\\Program Files\\x\\y.exe", written.getPath());
  EXPECT_EQ("/s", written.getArguments());
}

TEST_F(AutostartDatabaseTest, AShortcutThatCannotBeSavedIsReported) {
  AutostartDatabase database(CU_AUTOSTART, backup);
  // The folder is read once, when the database is made; removed later, it is not followed.
  ASSERT_TRUE(::RemoveDirectoryA(autostart.c_str()));
  StartupItem item(CU_AUTOSTART, ENABLED, "Tool.lnk", "C:\\tool.exe");
  try {
    database.addEntry(item);
    FAIL() << "saved";
  } catch (const windows::file::ShortcutWriterException& e) {
    const std::string start = "An exception occured when trying to save the the shortcut.\n";
    EXPECT_EQ(start, e.getMessage().substr(0, start.size()));
    EXPECT_NE(std::string::npos, e.getMessage().find("System error message: "));
  }
}

TEST_F(AutostartDatabaseTest, ABrokenShortcutEndsTheListing) {
  AutostartDatabase database(CU_AUTOSTART, backup);
  harness::WriteTextFile(autostart + "broken.lnk", "this is no shortcut");
  try {
    database.getEntries();
    FAIL() << "listed";
  } catch (const windows::file::ShortcutReaderException& e) {
    const std::string start =
        "An exception occured when trying to load the shortcut " + autostart + "broken.lnk\n\n";
    EXPECT_EQ(start, e.getMessage().substr(0, start.size()));
    EXPECT_NE(std::string::npos, e.getMessage().find("System error message: "));
  }
}

TEST_F(AutostartDatabaseTest, WithoutItsFolderTheDatabaseDoesNotWork) {
  AutostartDatabase missing(StartupConstants::LM_RUN_AUTOSTART, backup);
  EXPECT_FALSE(missing.isWorking());
  const std::string reason =
      "Error when opening a registry key, the key doesn't exist. Key: HKEY_LOCAL_MACHINE\\" +
      std::string(SHELL_FOLDERS) + "\n\n" + SystemErrors::map(ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(reason, missing.getFailureReason());
  const std::string text = "The autostart startup database isn't working. Reason: " + reason;
  try {
    missing.getEntries();
    FAIL() << "listed";
  } catch (const products::stelmar::database::AutostartDatabaseException& e) {
    EXPECT_EQ(text, e.getMessage());
  }
  // Nothing is moved, deleted or created in the current directory instead.
  harness::WriteTextFile(folder / "Here.lnk", "x");
  storetests::CurrentDirectory current(folder.path());
  StartupItem here(StartupConstants::LM_RUN_AUTOSTART, ENABLED, "Here.lnk", "C:\\x.exe");
  EXPECT_THROW(missing.disableEntry(here), products::stelmar::database::AutostartDatabaseException);
  EXPECT_THROW(missing.deleteEntry(here), products::stelmar::database::AutostartDatabaseException);
  EXPECT_THROW(missing.addEntry(here), products::stelmar::database::AutostartDatabaseException);
  EXPECT_TRUE(harness::FileExists(folder / "Here.lnk"));

  // A backup folder that cannot be made.
  harness::WriteTextFile(folder / "file", "x");
  AutostartDatabase noBackup(CU_AUTOSTART, folder / "file\\sub\\");
  EXPECT_FALSE(noBackup.isWorking());
  const std::string start =
      "Could not create the directory: " + (folder / "file\\sub\\") + ". System error message: ";
  EXPECT_EQ(start, noBackup.getFailureReason().substr(0, start.size()));
}

}  // namespace
