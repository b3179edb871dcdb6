#include <gtest/gtest.h>

#include "startup/EntryMoves.h"
#include "startup/StartupConstants.h"
#include "startup/database/RegistryBackup.h"
#include "startup/database/RegistryDatabase.h"
#include "startup/tests/store/StoreFixtures.h"
#include "tests/harness/Harness.h"

namespace {

using products::stelmar::StartupConstants;
using products::stelmar::StartupInterface;
using products::stelmar::StartupItem;
using products::stelmar::database::RegistryBackup;
using products::stelmar::database::RegistryDatabase;
using storetests::GetValue;
using storetests::SetText;

using storetests::CU_RUN;
using storetests::DISABLED;
using storetests::ENABLED;
using storetests::LM_RUN;
using storetests::RUN;

// The current user's and the machine's Run keys over one store of disabled entries; the
// machine's key refuses writing when a test locks it.
class EntryMoves : public ::testing::Test {
 protected:
  EntryMoves()
      : backup(folder / "stelmar.dat"),
        user(CU_RUN, backup),
        machine(LM_RUN, backup),
        startup(handler) {
    startup.addDatabase(user);
    startup.addDatabase(machine);
    SetText(HKEY_CURRENT_USER, RUN, "Tool", "C:\\tool.exe -a");
    SetText(HKEY_LOCAL_MACHINE, RUN, "Placeholder", "x");
  }
  ~EntryMoves() override { storetests::MakeWritable(HKEY_LOCAL_MACHINE, RUN); }
  // The entries in the file, as the next start reads them.
  std::vector<StartupItem> kept() const {
    return RegistryBackup(folder / "stelmar.dat").getAllEntries();
  }

  storetests::ScratchRegistry registry;
  harness::TempFolder folder;
  storetests::RecordingErrorHandler handler;
  RegistryBackup backup;
  RegistryDatabase user;
  RegistryDatabase machine;
  StartupInterface startup;
  StartupItem tool{CU_RUN, ENABLED, "Tool", "C:\\tool.exe -a"};
};

TEST_F(EntryMoves, AMoveDeletesTheSourceOnlyAfterTheAdd) {
  StartupItem target(LM_RUN, DISABLED, "Tool", tool.getData());
  storetests::MakeReadOnly(HKEY_LOCAL_MACHINE, RUN);
  EXPECT_FALSE(moveEntry(startup, tool, target));
  ASSERT_EQ(1u, handler.texts.size());
  EXPECT_EQ(0u, handler.texts[0].find("Error while adding an entry.\n\n" + target.toString()));
  EXPECT_TRUE(GetValue(HKEY_CURRENT_USER, RUN, "Tool").exists);

  storetests::MakeWritable(HKEY_LOCAL_MACHINE, RUN);
  EXPECT_TRUE(moveEntry(startup, tool, target));
  EXPECT_FALSE(GetValue(HKEY_CURRENT_USER, RUN, "Tool").exists);
  EXPECT_TRUE(GetValue(HKEY_LOCAL_MACHINE, RUN, "Tool").exists);
  EXPECT_EQ(ENABLED, target.getState());  // live where it was dropped
  EXPECT_EQ(1u, handler.texts.size());
}

TEST_F(EntryMoves, AnEditKeepsADisabledEntryDisabled) {
  ASSERT_TRUE(startup.disableEntry(tool));
  StartupItem edited(CU_RUN, DISABLED, "Renamed", "C:\\tool.exe -b");
  EXPECT_TRUE(editEntry(startup, tool, edited));
  EXPECT_TRUE(handler.texts.empty());
  ASSERT_EQ(1u, kept().size());
  EXPECT_EQ("Renamed", kept()[0].getName());
  EXPECT_FALSE(GetValue(HKEY_CURRENT_USER, RUN, "Renamed").exists);
  EXPECT_FALSE(GetValue(HKEY_CURRENT_USER, RUN, "Tool").exists);
  EXPECT_EQ(DISABLED, edited.getState());
}

TEST_F(EntryMoves, AnEditWhoseAddFailsLeavesTheOldEntry) {
  // The edited entry's location refuses writing: nothing was taken out, the old entry stays.
  storetests::MakeReadOnly(HKEY_LOCAL_MACHINE, RUN);
  StartupItem edited(LM_RUN, ENABLED, "Tool", "C:\\tool.exe -b");
  EXPECT_FALSE(editEntry(startup, tool, edited));
  ASSERT_EQ(1u, handler.texts.size());
  EXPECT_EQ(0u, handler.texts[0].find("Error while adding an entry.\n\n"));
  EXPECT_EQ(std::string("C:\\tool.exe -a\0", 15), GetValue(HKEY_CURRENT_USER, RUN, "Tool").bytes);
  EXPECT_EQ(ENABLED, tool.getState());
  EXPECT_TRUE(kept().empty());
}

}  // namespace
