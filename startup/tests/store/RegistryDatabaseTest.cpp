#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>

#include "startup/StartupConstants.h"
#include "startup/database/BackupFile.h"
#include "startup/database/RegistryBackup.h"
#include "startup/database/RegistryDatabase.h"
#include "startup/io/file/FileHelper.h"
#include "startup/platform/errorresources/Exceptions.h"
#include "startup/platform/errorresources/SystemErrors.h"
#include "startup/tests/store/AssertionCatcher.h"
#include "startup/tests/store/StoreFixtures.h"
#include "tests/harness/Harness.h"

namespace {

using products::stelmar::StartupConstants;
using products::stelmar::StartupItem;
using products::stelmar::database::RegistryBackup;
using products::stelmar::database::RegistryDatabase;
using products::stelmar::database::serialiseBackupFile;
using storetests::GetValue;
using storetests::SetText;
using storetests::SetValue;

using storetests::CU_RUN;
using storetests::DISABLED;
using storetests::ENABLED;
using storetests::RUN;
using storetests::RUN_ONCE;

std::string record(int type, const std::string& name, const std::string& data) {
  return StartupItem(type, DISABLED, name, data).toRawData();
}
std::string count(unsigned char n) {
  return std::string(1, static_cast<char>(n)) + std::string(3, '\0');
}

class RegistryDatabaseTest : public ::testing::Test {
 protected:
  std::string backupFile() const { return folder / "stelmar.dat"; }
  std::string fileBytes() const { return harness::ReadTextFile(backupFile()); }

  storetests::ScratchRegistry registry;
  harness::TempFolder folder;
};

TEST_F(RegistryDatabaseTest, LocationsOfTheRegistryTypes) {
  const std::pair<HKEY, std::string> expected[] = {
      {HKEY_LOCAL_MACHINE, RUN},
      {HKEY_LOCAL_MACHINE, RUN_ONCE},
      {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx"},
      {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices"},
      {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce"},
      {HKEY_CURRENT_USER, RUN},
      {HKEY_CURRENT_USER, RUN_ONCE}};
  for (int type = 0; type <= CU_RUN + 1; ++type) {
    EXPECT_EQ(expected[type], RegistryDatabase::getLocation(type)) << type;
  }
  // The 32-bit view has the same key names.
  EXPECT_EQ(expected[0], RegistryDatabase::getLocation(StartupConstants::LM_RUN_ALWAYS_32));
  EXPECT_EQ(expected[1], RegistryDatabase::getLocation(StartupConstants::LM_RUN_ONCE_32));
  AssertionCatcher assertions;
  EXPECT_EQ(std::make_pair(HKEY_CURRENT_USER, std::string()), RegistryDatabase::getLocation(7));
  EXPECT_EQ(1u, assertions.count("false"));
  EXPECT_EQ(std::make_pair(HKEY_CURRENT_USER, std::string()), RegistryDatabase::getLocation(13));
  EXPECT_EQ(1u, assertions.count("type < StartupConstants::MAX_TYPES"));
}

TEST_F(RegistryDatabaseTest, ListsLiveValuesThenKeptEntries) {
  ::SetEnvironmentVariableA("VARNICKSTORETEST", "C:\\env");
  SetText(HKEY_CURRENT_USER, RUN, "Alpha", "C:\\alpha.exe -s");
  SetValue(HKEY_CURRENT_USER, RUN, "Beta", REG_EXPAND_SZ,
           std::string("%VARNICKSTORETEST%\\b.exe\0", 24));
  SetValue(HKEY_CURRENT_USER, RUN, "Gamma", REG_DWORD, std::string("\x05\0\0\0", 4));
  harness::WriteTextFile(backupFile(), count(2) + record(CU_RUN, "Kept", "C:\\kept.exe") +
                                           record(StartupConstants::LM_RUN_ALWAYS, "Other", "x"));
  RegistryBackup backup(backupFile());
  RegistryDatabase database(CU_RUN, backup);
  EXPECT_TRUE(database.isWorking());
  EXPECT_EQ(CU_RUN, database.getType());

  const std::vector<StartupItem> entries = database.getEntries();
  ASSERT_EQ(3u, entries.size());
  EXPECT_EQ("Alpha", entries[0].getName());
  EXPECT_EQ("C:\\alpha.exe -s", entries[0].getData());
  EXPECT_EQ("C:\\env\\b.exe", entries[1].getData());
  for (int i = 0; i < 2; ++i) EXPECT_EQ(ENABLED, entries[i].getState());
  EXPECT_EQ("Kept", entries[2].getName());
  EXPECT_EQ(DISABLED, entries[2].getState());
  EXPECT_FALSE(entries[2].isChanged());
}

TEST_F(RegistryDatabaseTest, AMissingKeyStillListsEnablesAndDeletesItsKeptEntries) {
  const int ONCE_EX = StartupConstants::LM_RUN_ONCE_EX;
  const char* const ONCE_EX_KEY = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx";
  harness::WriteTextFile(backupFile(), count(2) + record(ONCE_EX, "Kept", "C:\\kept.exe -k") +
                                           record(ONCE_EX, "Gone", "C:\\gone.exe"));
  RegistryBackup backup(backupFile());
  RegistryDatabase database(ONCE_EX, backup);
  std::vector<StartupItem> entries = database.getEntries();
  ASSERT_EQ(2u, entries.size());
  EXPECT_EQ("Kept", entries[0].getName());
  EXPECT_EQ(DISABLED, entries[0].getState());

  database.deleteEntry(entries[1]);
  EXPECT_EQ(count(1) + record(ONCE_EX, "Kept", "C:\\kept.exe -k"), fileBytes());
  database.enableEntry(entries[0]);
  EXPECT_EQ(ENABLED, entries[0].getState());
  EXPECT_EQ(std::string("C:\\kept.exe -k\0", 15),
            GetValue(HKEY_LOCAL_MACHINE, ONCE_EX_KEY, "Kept").bytes);
  EXPECT_EQ(count(0), fileBytes());
  EXPECT_EQ(1u, database.getEntries().size());
}

// Windows starts text values only; any other value is left alone, and never shown.
TEST_F(RegistryDatabaseTest, ValuesThatAreNotTextAreNotListed) {
  const std::pair<DWORD, std::string> others[] = {{REG_DWORD, std::string("\x05\0\0\0", 4)},
                                                  {REG_BINARY, "\x7F\x7F"},
                                                  {REG_MULTI_SZ, std::string("a\0b\0\0", 5)}};
  for (const auto& [type, bytes] : others) {
    SetValue(HKEY_CURRENT_USER, RUN, "Other" + std::to_string(type), type, bytes);
  }
  SetText(HKEY_CURRENT_USER, RUN, "Text", "C:\\text.exe");
  RegistryBackup backup(backupFile());
  RegistryDatabase database(CU_RUN, backup);
  const std::vector<StartupItem> entries = database.getEntries();
  ASSERT_EQ(1u, entries.size());
  EXPECT_EQ("Text", entries[0].getName());
  for (const auto& [type, bytes] : others) {
    EXPECT_EQ(bytes, GetValue(HKEY_CURRENT_USER, RUN, "Other" + std::to_string(type)).bytes);
  }
}

TEST_F(RegistryDatabaseTest, DisableEnableDeleteAddRoundTrips) {
  SetText(HKEY_CURRENT_USER, RUN, "Tool", "C:\\tool.exe /min");
  SetText(HKEY_CURRENT_USER, RUN, "Other", "C:\\other.exe");
  EXPECT_FALSE(harness::FileExists(backupFile()));
  RegistryBackup backup(backupFile());
  RegistryDatabase database(CU_RUN, backup);
  EXPECT_TRUE(database.getEntries().size() == 2);

  StartupItem tool(CU_RUN, ENABLED, "Tool", "C:\\tool.exe /min");
  database.disableEntry(tool);
  EXPECT_EQ(DISABLED, tool.getState());
  EXPECT_TRUE(tool.isChanged());
  EXPECT_FALSE(GetValue(HKEY_CURRENT_USER, RUN, "Tool").exists);
  const std::string afterDisable = count(1) + record(CU_RUN, "Tool", "C:\\tool.exe /min");
  EXPECT_EQ(afterDisable, fileBytes());
  EXPECT_EQ(4u + 8u + 4u + 1u + 16u + 1u, fileBytes().size());

  // Listed as a disabled entry that has not changed, as it is after the next start.
  EXPECT_FALSE(database.getEntries().at(1).isChanged());
  // A second store made on the same file finds the entry kept.
  {
    RegistryBackup reloaded(backupFile());
    RegistryDatabase other(CU_RUN, reloaded);
    const std::vector<StartupItem> entries = other.getEntries();
    ASSERT_EQ(2u, entries.size());
    EXPECT_EQ("Tool", entries[1].getName());
    EXPECT_EQ(DISABLED, entries[1].getState());
  }

  database.enableEntry(tool);
  EXPECT_EQ(ENABLED, tool.getState());
  EXPECT_FALSE(tool.isChanged());
  EXPECT_EQ(std::string("C:\\tool.exe /min\0", 17), GetValue(HKEY_CURRENT_USER, RUN, "Tool").bytes);
  EXPECT_EQ(count(0), fileBytes());

  database.disableEntry(tool);
  database.deleteEntry(tool);
  EXPECT_EQ(count(0), fileBytes());
  EXPECT_FALSE(GetValue(HKEY_CURRENT_USER, RUN, "Tool").exists);
  EXPECT_EQ(1u, database.getEntries().size());

  // Adding an entry that is kept aside makes it live; the file keeps its record until the
  // next save.
  StartupItem other(CU_RUN, ENABLED, "Other", "C:\\other.exe");
  database.disableEntry(other);
  StartupItem added(CU_RUN, DISABLED, "Other", "C:\\other.exe -new");
  database.addEntry(added);
  EXPECT_EQ(std::string("C:\\other.exe -new\0", 18),
            GetValue(HKEY_CURRENT_USER, RUN, "Other").bytes);
  EXPECT_EQ(count(1) + record(CU_RUN, "Other", "C:\\other.exe"), fileBytes());
  EXPECT_FALSE(backup.contains(added));

  // Adding creates the key when it is missing.
  StartupItem once(StartupConstants::CU_RUN_ONCE, ENABLED, "Once", "C:\\once.exe");
  RegistryDatabase onceDatabase(StartupConstants::CU_RUN_ONCE, backup);
  onceDatabase.addEntry(once);
  EXPECT_TRUE(GetValue(HKEY_CURRENT_USER, RUN_ONCE, "Once").exists);
  EXPECT_EQ(once, onceDatabase.formatEntry(once));
}

TEST_F(RegistryDatabaseTest, AValueRemovedMeanwhileIsStillKept) {
  SetText(HKEY_CURRENT_USER, RUN, "Gone", "C:\\gone.exe");
  RegistryBackup backup(backupFile());
  RegistryDatabase database(CU_RUN, backup);
  StartupItem gone = database.getEntries().at(0);
  SetText(HKEY_CURRENT_USER, RUN, "Placeholder", "x");
  storetests::DeleteValue(HKEY_CURRENT_USER, RUN, "Gone");
  database.disableEntry(gone);
  EXPECT_EQ(count(1) + record(CU_RUN, "Gone", "C:\\gone.exe"), fileBytes());
}

TEST_F(RegistryDatabaseTest, ALiveValueIsShownOnceAndADifferentKeptCopyStays) {
  // A kept copy that starts the same command is what an operation cut short left: it goes.
  // One that starts another (of the name in any case) stays, named in the live one's note.
  SetText(HKEY_CURRENT_USER, RUN, "Back", "C:\\live.exe");
  SetText(HKEY_CURRENT_USER, RUN, "usertool", "C:\\new.exe");
  const std::string twin = record(CU_RUN, "UserTool", "C:\\old.exe");
  harness::WriteTextFile(backupFile(), count(2) + record(CU_RUN, "Back", "C:\\live.exe") + twin);
  RegistryBackup backup(backupFile());
  RegistryDatabase database(CU_RUN, backup);
  const std::vector<StartupItem> entries = database.getEntries();
  ASSERT_EQ(2u, entries.size());
  EXPECT_EQ("", entries[0].getNote());
  EXPECT_NE(std::string::npos, entries[1].getNote().find("C:\\old.exe"));
  EXPECT_EQ(count(1) + twin, fileBytes());
  // Enabling the kept twin would overwrite the live value: refused, both stay.
  StartupItem kept(CU_RUN, DISABLED, "UserTool", "C:\\old.exe");
  EXPECT_THROW(database.enableEntry(kept), windows::registry::RegistryException);
  EXPECT_EQ(std::string("C:\\new.exe\0", 11), GetValue(HKEY_CURRENT_USER, RUN, "usertool").bytes);
  EXPECT_EQ(count(1) + twin, fileBytes());
}

TEST_F(RegistryDatabaseTest, AFailedSaveWhileDisablingPutsTheValueBack) {
  // A REG_EXPAND_SZ value comes back exactly as it was, unexpanded and of its own type.
  const std::string raw("%SystemRoot%\\tool.exe\0", 22);
  SetValue(HKEY_CURRENT_USER, RUN, "Tool", REG_EXPAND_SZ, raw);
  const std::string before = count(1) + record(CU_RUN, "Earlier", "C:\\earlier.exe");
  harness::WriteTextFile(backupFile(), before);
  RegistryBackup backup(backupFile());
  RegistryDatabase database(CU_RUN, backup);
  StartupItem tool = database.getEntries().at(0);
  ASSERT_EQ("Tool", tool.getName());

  storetests::HeldFile held(backupFile());
  ASSERT_TRUE(held.held());
  EXPECT_THROW(database.disableEntry(tool), io::file::CouldNotSaveFileException);

  const storetests::Value value = GetValue(HKEY_CURRENT_USER, RUN, "Tool");
  EXPECT_TRUE(value.exists);
  EXPECT_EQ(static_cast<DWORD>(REG_EXPAND_SZ), value.type);
  EXPECT_EQ(raw, value.bytes);
  EXPECT_EQ(ENABLED, tool.getState());
  EXPECT_FALSE(tool.isChanged());
  ASSERT_EQ(1u, backup.getAllEntries().size());
  EXPECT_EQ("Earlier", backup.getAllEntries()[0].getName());
  EXPECT_EQ(before, fileBytes());
}

// Stands for a save that dies after the new file is written and before it replaces the old.
void dieBeforeReplacing(const std::string&) { throw std::runtime_error("killed"); }

TEST_F(RegistryDatabaseTest, ASaveThatDiesMidwayWhileDisablingPutsTheValueBack) {
  SetText(HKEY_CURRENT_USER, RUN, "Tool", "C:\\tool.exe");
  const std::string before = count(1) + record(CU_RUN, "Earlier", "C:\\earlier.exe");
  harness::WriteTextFile(backupFile(), before);
  RegistryBackup backup(backupFile());
  RegistryDatabase database(CU_RUN, backup);
  StartupItem tool(CU_RUN, ENABLED, "Tool", "C:\\tool.exe");
  const io::file::FileHelper::ReplaceHook previous =
      io::file::FileHelper::setBeforeReplaceHook(dieBeforeReplacing);
  EXPECT_THROW(database.disableEntry(tool), std::runtime_error);
  io::file::FileHelper::setBeforeReplaceHook(previous);

  EXPECT_EQ(std::string("C:\\tool.exe\0", 12), GetValue(HKEY_CURRENT_USER, RUN, "Tool").bytes);
  EXPECT_EQ(before, fileBytes());
  EXPECT_EQ(1u, backup.getAllEntries().size());
  EXPECT_EQ(ENABLED, tool.getState());

  // The half-done save left nothing in the way of the next one.
  database.disableEntry(tool);
  EXPECT_EQ(count(2) + record(CU_RUN, "Earlier", "C:\\earlier.exe") +
                record(CU_RUN, "Tool", "C:\\tool.exe"),
            fileBytes());
}

TEST_F(RegistryDatabaseTest, AFailedSaveWhileEnablingLosesNothing) {
  harness::WriteTextFile(backupFile(), count(1) + record(CU_RUN, "Tool", "C:\\tool.exe"));
  RegistryBackup backup(backupFile());
  RegistryDatabase database(CU_RUN, backup);
  SetText(HKEY_CURRENT_USER, RUN, "Placeholder", "x");
  StartupItem tool = database.getEntries().at(1);
  storetests::HeldFile held(backupFile());
  EXPECT_THROW(database.enableEntry(tool), io::file::CouldNotSaveFileException);
  // Live in the key; the file still holds it, and the live value wins at the next listing.
  EXPECT_TRUE(GetValue(HKEY_CURRENT_USER, RUN, "Tool").exists);
  EXPECT_EQ(count(1) + record(CU_RUN, "Tool", "C:\\tool.exe"), fileBytes());
}

TEST_F(RegistryDatabaseTest, OnlyATextValueIsDisabled) {
  struct Case {
    DWORD type;
    std::string bytes;
  };
  // Without a zero byte too: such a value would come back as text.
  const Case cases[] = {{REG_DWORD, std::string("\x01\0\0\0", 4)},
                        {REG_DWORD, "\x01\x01\x01\x01"},
                        {REG_BINARY, "\x7F\x7F"},
                        {REG_MULTI_SZ, std::string("a\0b\0\0", 5)}};
  RegistryBackup backup(backupFile());
  RegistryDatabase database(CU_RUN, backup);
  for (const Case& c : cases) {
    SetValue(HKEY_CURRENT_USER, RUN, "Number", c.type, c.bytes);
    StartupItem number(CU_RUN, ENABLED, "Number", c.bytes);  // listed as text, changed since
    try {
      database.disableEntry(number);
      ADD_FAILURE() << "disabled type " << c.type;
    } catch (const windows::registry::RegistryUnexpectedTypeException& e) {
      EXPECT_EQ(
          "The entry cannot be disabled: its value is not a text (REG_SZ or REG_EXPAND_SZ) but "
          "of the registry type " +
              std::to_string(c.type) +
              ", which the store of disabled entries cannot keep. The value stays as it is. "
              "Entry: HKEY_CURRENT_USER\\" +
              std::string(RUN) + "\\Number\n",
          e.getMessage());
    }
    const storetests::Value value = GetValue(HKEY_CURRENT_USER, RUN, "Number");
    EXPECT_EQ(c.type, value.type);
    EXPECT_EQ(c.bytes, value.bytes);
    EXPECT_EQ(ENABLED, number.getState());
  }
  EXPECT_FALSE(harness::FileExists(backupFile()));
}

TEST_F(RegistryDatabaseTest, AnExpandableValueComesBackWithItsType) {
  ::SetEnvironmentVariableA("VARNICKSTORETEST", "C:\\env");
  const std::string raw("%VARNICKSTORETEST%\\b.exe\0", 25);
  SetValue(HKEY_CURRENT_USER, RUN, "Tool", REG_EXPAND_SZ, raw);
  {
    RegistryBackup backup(backupFile());
    RegistryDatabase database(CU_RUN, backup);
    StartupItem tool = database.getEntries().at(0);
    database.disableEntry(tool);
  }
  // The record keeps its format and the expanded text, which older builds read.
  EXPECT_EQ(count(1) + record(CU_RUN, "Tool", "C:\\env\\b.exe"), fileBytes());
  EXPECT_TRUE(harness::FileExists(backupFile() + ".values"));

  // After a restart.
  RegistryBackup backup(backupFile());
  RegistryDatabase database(CU_RUN, backup);
  StartupItem tool = database.getEntries().at(0);
  database.enableEntry(tool);
  storetests::Value value = GetValue(HKEY_CURRENT_USER, RUN, "Tool");
  EXPECT_EQ(static_cast<DWORD>(REG_EXPAND_SZ), value.type);
  EXPECT_EQ(raw, value.bytes);

  // A kept value that no longer reads as the record's text: the record is what the user saw.
  database.disableEntry(tool);
  ::SetEnvironmentVariableA("VARNICKSTORETEST", "D:\\moved");
  database.enableEntry(tool);
  value = GetValue(HKEY_CURRENT_USER, RUN, "Tool");
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type);
  EXPECT_EQ(std::string("C:\\env\\b.exe\0", 13), value.bytes);
}

TEST_F(RegistryDatabaseTest, UnreadableKeptValuesOnlyCostTheTypes) {
  harness::WriteTextFile(backupFile(), count(1) + record(CU_RUN, "Tool", "C:\\tool.exe"));
  harness::WriteTextFile(backupFile() + ".values", "SKV1\x05");
  AssertionCatcher assertions;
  RegistryBackup backup(backupFile());
  EXPECT_EQ(1u, assertions.countContaining("could not be read"));
  SetText(HKEY_CURRENT_USER, RUN, "Placeholder", "x");
  RegistryDatabase database(CU_RUN, backup);
  StartupItem tool = database.getEntries().at(1);
  database.enableEntry(tool);
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), GetValue(HKEY_CURRENT_USER, RUN, "Tool").type);
}

std::vector<std::string> replacedFiles;
void recordReplaced(const std::string& temporary) { replacedFiles.push_back(temporary); }

TEST_F(RegistryDatabaseTest, TheKeptValuesAreSavedFirst) {
  SetText(HKEY_CURRENT_USER, RUN, "Tool", "C:\\tool.exe");
  harness::WriteTextFile(backupFile(), count(0));
  RegistryBackup backup(backupFile());
  RegistryDatabase database(CU_RUN, backup);
  StartupItem tool(CU_RUN, ENABLED, "Tool", "C:\\tool.exe");
  {
    // Kept values that cannot be written: the entry stays live and the file as it was.
    storetests::HeldFile held(backupFile() + ".values");
    EXPECT_THROW(database.disableEntry(tool), io::file::CouldNotSaveFileException);
  }
  EXPECT_TRUE(GetValue(HKEY_CURRENT_USER, RUN, "Tool").exists);
  EXPECT_EQ(count(0), fileBytes());

  replacedFiles.clear();
  const auto previous = io::file::FileHelper::setBeforeReplaceHook(recordReplaced);
  database.disableEntry(tool);
  io::file::FileHelper::setBeforeReplaceHook(previous);
  EXPECT_EQ(std::vector<std::string>({io::file::FileHelper::temporaryName(backupFile() + ".values"),
                                      io::file::FileHelper::temporaryName(backupFile())}),
            replacedFiles);
}

TEST_F(RegistryDatabaseTest, DisablingAValueNobodyMayDeleteIsDenied) {
  SetText(HKEY_CURRENT_USER, RUN, "Locked", "C:\\locked.exe");
  storetests::MakeReadOnly(HKEY_CURRENT_USER, RUN);
  RegistryBackup backup(backupFile());
  RegistryDatabase database(CU_RUN, backup);
  StartupItem locked = database.getEntries().at(0);
  EXPECT_THROW(database.disableEntry(locked), windows::registry::RegistryAccessDeniedException);
  storetests::MakeWritable(HKEY_CURRENT_USER, RUN);
  EXPECT_TRUE(GetValue(HKEY_CURRENT_USER, RUN, "Locked").exists);
  EXPECT_TRUE(backup.getAllEntries().empty());
  EXPECT_FALSE(harness::FileExists(backupFile()));
}

class DamagedBackupFile : public RegistryDatabaseTest {
 protected:
  void load(const std::string& bytes, std::size_t wholeRecords) {
    harness::WriteTextFile(backupFile(), bytes);
    AssertionCatcher assertions;
    RegistryBackup backup(backupFile());
    EXPECT_EQ(wholeRecords, backup.getAllEntries().size());
    EXPECT_EQ(1u, assertions.total());
    EXPECT_EQ(1u, assertions.countContaining("is damaged"));
    EXPECT_EQ(backupFile() + ".damaged", backup.getDamagedCopyName());
    EXPECT_EQ(bytes, harness::ReadTextFile(backupFile() + ".damaged"));
  }
};

TEST_F(DamagedBackupFile, KeepsWholeRecordsAndACopy) {
  const std::string whole = count(2) + record(CU_RUN, "First", "C:\\first.exe") +
                            record(CU_RUN, "Second", "C:\\second.exe");
  std::string lying = whole;
  lying[0] = 9;
  struct Case {
    std::string bytes;
    std::size_t records;
  };
  const Case cases[] = {{"", 0},
                        {std::string("\x01\0", 2), 0},
                        {lying, 2},
                        {whole.substr(0, whole.size() - 1), 1},
                        {whole.substr(0, whole.size() - 15), 1}};
  for (const Case& c : cases) {
    load(c.bytes, c.records);
    ::DeleteFileA((backupFile() + ".damaged").c_str());
  }
}

TEST_F(DamagedBackupFile, NoiseIsReportedOnceWithTheCountOfItsProblems) {
  std::string noise(64 * 1024, '\0');
  std::uint32_t seed = 12345;
  for (char& byte : noise) {
    seed = seed * 1103515245u + 12345u;
    byte = static_cast<char>(seed >> 16);
  }
  noise.replace(0, 4, count(0xFF));
  harness::WriteTextFile(backupFile(), noise);
  AssertionCatcher assertions;
  RegistryBackup backup(backupFile());
  ASSERT_EQ(1u, assertions.total());
  EXPECT_NE(std::string::npos, assertions.reports()[0].find("Further problems found after it: "));
  EXPECT_FALSE(backup.getAllEntries().empty());
  for (const StartupItem& item : backup.getAllEntries()) EXPECT_EQ(DISABLED, item.getState());
}

TEST_F(DamagedBackupFile, TheCopyIsMadeBeforeTheFileIsOverwritten) {
  const std::string truncated =
      (count(2) + record(CU_RUN, "First", "C:\\first.exe") + record(CU_RUN, "Second", "x"))
          .substr(0, 4 + 8 + 18 + 5);
  load(truncated, 1);
  SetText(HKEY_CURRENT_USER, RUN, "New", "C:\\new.exe");
  {
    AssertionCatcher assertions;
    RegistryBackup backup(backupFile());
    RegistryDatabase database(CU_RUN, backup);
    StartupItem item(CU_RUN, ENABLED, "New", "C:\\new.exe");
    database.disableEntry(item);
  }
  EXPECT_EQ(
      count(2) + record(CU_RUN, "First", "C:\\first.exe") + record(CU_RUN, "New", "C:\\new.exe"),
      fileBytes());
  EXPECT_EQ(truncated, harness::ReadTextFile(backupFile() + ".damaged"));

  // A later damage of other bytes never overwrites the earlier copy.
  const std::string other = std::string("\x05\0\0\0", 4);
  harness::WriteTextFile(backupFile(), other);
  AssertionCatcher assertions;
  RegistryBackup again(backupFile());
  EXPECT_EQ(backupFile() + ".damaged2", again.getDamagedCopyName());
  EXPECT_EQ(truncated, harness::ReadTextFile(backupFile() + ".damaged"));
  EXPECT_EQ(other, harness::ReadTextFile(backupFile() + ".damaged2"));
}

TEST_F(DamagedBackupFile, WithoutItsCopyTheFileIsNotOverwritten) {
  // Every name a copy could take is in the way.
  for (int n = 1; n <= 99; ++n) {
    ::CreateDirectoryA((backupFile() + ".damaged" + (n == 1 ? "" : std::to_string(n))).c_str(),
                       nullptr);
  }
  const std::string lying = count(3) + record(CU_RUN, "Only", "C:\\only.exe");
  harness::WriteTextFile(backupFile(), lying);
  AssertionCatcher assertions;
  RegistryBackup backup(backupFile());
  EXPECT_EQ(1u, assertions.countContaining("No copy of it could be kept yet."));
  EXPECT_EQ("", backup.getDamagedCopyName());
  SetText(HKEY_CURRENT_USER, RUN, "New", "C:\\new.exe");
  RegistryDatabase database(CU_RUN, backup);
  StartupItem item(CU_RUN, ENABLED, "New", "C:\\new.exe");
  EXPECT_THROW(database.disableEntry(item), io::file::CouldNotSaveFileException);
  EXPECT_EQ(lying, fileBytes());
  EXPECT_TRUE(GetValue(HKEY_CURRENT_USER, RUN, "New").exists);

  ::RemoveDirectoryA((backupFile() + ".damaged7").c_str());
  database.disableEntry(item);
  EXPECT_EQ(lying, harness::ReadTextFile(backupFile() + ".damaged7"));
  EXPECT_EQ(
      count(2) + record(CU_RUN, "Only", "C:\\only.exe") + record(CU_RUN, "New", "C:\\new.exe"),
      fileBytes());
}

TEST_F(DamagedBackupFile, ARecordOfNoStartupTypeIsKeptButNeverListed) {
  const std::string bytes = count(2) + std::string("\x2A\0\0\0\x01\0\0\0Odd\0x\0", 14) +
                            record(CU_RUN, "Fine", "C:\\fine.exe");
  harness::WriteTextFile(backupFile(), bytes);
  AssertionCatcher assertions;
  RegistryBackup backup(backupFile());
  EXPECT_EQ(1u, assertions.countContaining("type 42"));
  ASSERT_EQ(2u, backup.getAllEntries().size());
  SetText(HKEY_CURRENT_USER, RUN, "Placeholder", "x");
  RegistryDatabase database(CU_RUN, backup);
  EXPECT_EQ(2u, database.getEntries().size());
  backup.save();
  EXPECT_EQ(bytes, fileBytes());
}

}  // namespace
