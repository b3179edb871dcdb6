// The stores wired as the startup manager wires them at start-up, in a program folder of
// their own (the current directory) against scratch registry hives.
#include <gtest/gtest.h>

#include "startup/StartupConstants.h"
#include "startup/StartupReportSource.h"
#include "startup/StartupStores.h"
#include "startup/database/BackupFile.h"
#include "startup/platform/errorresources/Exceptions.h"
#include "startup/tests/store/StoreFixtures.h"
#include "tests/harness/Harness.h"

namespace {

using products::stelmar::StartupConstants;
using products::stelmar::StartupItem;
using products::stelmar::StartupStores;

const char* const SHELL_FOLDERS =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
using storetests::RUN;

class StartupStoresTest : public ::testing::Test {
 protected:
  StartupStoresTest() : current(program.path()) {
    ::CreateDirectoryA((profile / "Startup").c_str(), nullptr);
    storetests::SetText(HKEY_CURRENT_USER, SHELL_FOLDERS, "Startup", profile / "Startup");
    storetests::SetText(HKEY_LOCAL_MACHINE, RUN, "Machine", "C:\\machine.exe");
    storetests::SetText(HKEY_CURRENT_USER, RUN, "User", "C:\\user.exe -u");
  }

  ~StartupStoresTest() override {
    current.restore();
    // Under Wine, saving a shortcut starts a helper process in the current folder, which
    // keeps the folder from being removed until the helper ends.
    for (int attempt = 0; attempt < 100 && harness::FileExists(program.path()); ++attempt) {
      harness::RemoveTree(program.path());
      if (harness::FileExists(program.path())) ::Sleep(50);
    }
  }

  storetests::ScratchRegistry registry;
  harness::TempFolder program;
  harness::TempFolder profile;
  storetests::CurrentDirectory current;
  storetests::RecordingErrorHandler handler;
};

TEST_F(StartupStoresTest, RegistersOneStorePerLocationOfTheSystem) {
  {
    StartupStores nt(handler, true);
    EXPECT_EQ(std::vector<int>({0, 1, 2, 5, 6, 7, 9}), nt.getInterface().getTypes());
  }
  {
    // 64-bit Windows adds the 32-bit view of the machine's Run and RunOnce keys.
    StartupStores windows64(handler, true, true);
    EXPECT_EQ(std::vector<int>({0, 1, 2, 5, 6, 7, 9, 11, 12}),
              windows64.getInterface().getTypes());
    // The system report lists them under their name texts.
    const std::string report = errorresources::buildSystemReport(
        "stelmar", "2.11", "Windows NT 6.1",
        products::stelmar::StartupReportSource(windows64.getInterface()));
    EXPECT_NE(std::string::npos, report.find("[LM_RUN_ALWAYS_32]\n"));
    EXPECT_NE(std::string::npos, report.find("[LM_RUN_ONCE_32]\n"));
  }
  StartupStores older(handler, false);
  EXPECT_EQ(std::vector<int>({0, 1, 2, 3, 4, 5, 6, 7, 9}), older.getInterface().getTypes());
  EXPECT_TRUE(harness::FileExists(program / "lmas"));
  EXPECT_TRUE(harness::FileExists(program / "cuas"));
  EXPECT_EQ("stelmar.dat", older.getBackup().getFileName());
}

TEST_F(StartupStoresTest, DisabledEntriesLiveInTheProgramFolder) {
  {
    StartupStores stores(handler, true);
    products::stelmar::StartupInterface& startup = stores.getInterface();
    StartupItem machine = startup.getEntries(StartupConstants::LM_RUN_ALWAYS).at(0);
    StartupItem user = startup.getEntries(StartupConstants::CU_RUN_ALWAYS).at(0);
    startup.disableEntry(machine);
    startup.disableEntry(user);

    StartupItem link(StartupConstants::CU_RUN_AUTOSTART, StartupConstants::ENABLED, "Tool",
                     "C:\\tool.exe -t");
    StartupItem formatted = startup.formatEntry(link);
    startup.addEntry(formatted);
    startup.disableEntry(formatted);
    EXPECT_TRUE(handler.texts.empty()) << handler.texts.at(0);
  }
  EXPECT_EQ(std::string("\x02\0\0\0", 4) +
                StartupItem(0, 1, "Machine", "C:\\machine.exe").toRawData() +
                StartupItem(5, 1, "User", "C:\\user.exe -u").toRawData(),
            harness::ReadTextFile(program / "stelmar.dat"));
  EXPECT_TRUE(harness::FileExists(program / "cuas\\Tool.lnk"));

  // The next start finds everything where it was left.
  StartupStores again(handler, true);
  const std::vector<StartupItem> user =
      again.getInterface().getEntries(StartupConstants::CU_RUN_ALWAYS);
  ASSERT_EQ(1u, user.size());
  EXPECT_EQ(StartupConstants::DISABLED, user[0].getState());
  const std::vector<StartupItem> links =
      again.getInterface().getEntries(StartupConstants::CU_RUN_AUTOSTART);
  ASSERT_EQ(1u, links.size());
  EXPECT_EQ("Tool.lnk", links[0].getName());
  EXPECT_EQ("C:\\tool.exe -t", links[0].getData());
  EXPECT_EQ(StartupConstants::DISABLED, links[0].getState());
}

TEST_F(StartupStoresTest, AnAutostartFolderThatIsNotNamedFailsItsListingOnly) {
  StartupStores stores(handler, true);
  // No "Common Startup" value in the scratch machine hive.
  try {
    stores.getInterface().getEntries(StartupConstants::LM_RUN_AUTOSTART);
    FAIL() << "listed";
  } catch (const products::stelmar::database::AutostartDatabaseException& e) {
    EXPECT_EQ(0u, e.getMessage().find("The autostart startup database isn't working. Reason: "));
  }
  EXPECT_EQ(1u, stores.getInterface().getEntries(StartupConstants::LM_RUN_ALWAYS).size());

  // The system report shows the type's name line followed by the failure.
  const std::string report = errorresources::buildSystemReport(
      "stelmar", "2.11", "Windows NT 6.1",
      products::stelmar::StartupReportSource(stores.getInterface()));
  EXPECT_NE(std::string::npos, report.find("[LM_RUN_ALWAYS]\nMachine C:\\machine.exe\n\n"));
  EXPECT_NE(std::string::npos,
            report.find("[CU_RUN_ALWAYS]\nUser C:\\user.exe -u\n\n[CU_RUN_ONCE]\n\n"));
  EXPECT_NE(std::string::npos,
            report.find("[LM_RUN_AUTOSTART]\nAn exception occured when getting entries.\n"
                        "The autostart startup database isn't working. Reason: "));
  EXPECT_NE(std::string::npos, report.find("[CU_RUN_AUTOSTART]\n\n"));
}

TEST_F(StartupStoresTest, WithoutThe32BitViewItsDisabledEntriesAreKeptAllTheSame) {
  const StartupItem view32(StartupConstants::LM_RUN_ALWAYS_32, StartupConstants::DISABLED,
                           "View32", "C:\\view32.exe");
  harness::WriteTextFile(program / "stelmar.dat",
                         products::stelmar::database::serialiseBackupFile({view32}));
  StartupStores stores(handler, true);
  StartupItem user = stores.getInterface().getEntries(StartupConstants::CU_RUN_ALWAYS).at(0);
  EXPECT_TRUE(stores.getInterface().disableEntry(user));
  const auto saved =
      products::stelmar::database::parseBackupFile(harness::ReadTextFile(program / "stelmar.dat"));
  EXPECT_FALSE(saved.damaged());
  EXPECT_EQ(std::vector<StartupItem>({view32, user}), saved.entries);
}

}  // namespace
