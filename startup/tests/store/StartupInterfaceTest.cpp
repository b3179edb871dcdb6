#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "startup/StartupConstants.h"
#include "startup/StartupInterface.h"
#include "startup/database/BackupFile.h"
#include "startup/database/RegistryBackup.h"
#include "startup/database/RegistryDatabase.h"
#include "startup/platform/errorresources/Exceptions.h"
#include "startup/platform/errorresources/SystemErrors.h"
#include "startup/tests/store/AssertionCatcher.h"
#include "startup/tests/store/StoreFixtures.h"
#include "tests/harness/Harness.h"

namespace {

using products::stelmar::StartupConstants;
using products::stelmar::StartupDatabase;
using products::stelmar::StartupInterface;
using products::stelmar::StartupItem;
using products::stelmar::database::RegistryBackup;
using products::stelmar::database::RegistryDatabase;
using storetests::GetValue;
using storetests::SetText;

using storetests::CU_RUN;
using storetests::DISABLED;
using storetests::ENABLED;
using storetests::RUN;

// Passes every call to a real database and records it; fails the calls it is told to.
class RecordingDatabase : public StartupDatabase {
 public:
  explicit RecordingDatabase(StartupDatabase& inner) : inner_(inner) {}
  std::vector<StartupItem> getEntries() override { return inner_.getEntries(); }
  void enableEntry(StartupItem& item) override { inner_.enableEntry(item); }
  void disableEntry(StartupItem& item) override {
    calls.push_back("disable:" + item.getName());
    inner_.disableEntry(item);
  }
  void deleteEntry(StartupItem& item) override {
    calls.push_back("delete:" + item.getName());
    inner_.deleteEntry(item);
  }
  void addEntry(StartupItem& item) override {
    calls.push_back("add:" + item.getName());
    if (item.getName() == failAddOf) {
      throw windows::registry::RegistryException("The value could not be set.");
    }
    inner_.addEntry(item);
  }
  void addKeptEntry(StartupItem& item) override {
    calls.push_back("keep:" + item.getName());
    inner_.addKeptEntry(item);
  }
  StartupItem formatEntry(StartupItem& item) override { return inner_.formatEntry(item); }
  int getType() override { return inner_.getType(); }
  bool isWorking() override { return inner_.isWorking(); }

  std::vector<std::string> calls;
  std::string failAddOf;

 private:
  StartupDatabase& inner_;
};

// Every operation throws: one of the program's exceptions, or anything else.
class FailingDatabase : public StartupDatabase {
 public:
  FailingDatabase(int type, bool programFailure) : type_(type), program_(programFailure) {}
  std::vector<StartupItem> getEntries() override {
    fail();
    return {};
  }
  void enableEntry(StartupItem&) override { fail(); }
  void disableEntry(StartupItem&) override { fail(); }
  void deleteEntry(StartupItem&) override { fail(); }
  void addEntry(StartupItem&) override { fail(); }
  StartupItem formatEntry(StartupItem&) override {
    fail();
    return StartupItem(type_, ENABLED, "never", "");
  }
  int getType() override { return type_; }
  bool isWorking() override { return true; }

 private:
  void fail() {
    if (program_) throw exceptions::Exception("The store failed.");
    throw std::runtime_error("foreign");
  }
  int type_;
  bool program_;
};

class StartupInterfaceTest : public ::testing::Test {
 protected:
  std::string backupFile() const { return folder / "stelmar.dat"; }

  storetests::ScratchRegistry registry;
  harness::TempFolder folder;
  storetests::RecordingErrorHandler handler;
};

TEST_F(StartupInterfaceTest, ReportsADeniedDisableAsOneText) {
  SetText(HKEY_CURRENT_USER, RUN, "Locked", "C:\\locked.exe -q");
  storetests::MakeReadOnly(HKEY_CURRENT_USER, RUN);
  RegistryBackup backup(backupFile());
  RegistryDatabase database(CU_RUN, backup);
  StartupInterface startup(handler);
  startup.addDatabase(database);
  StartupItem locked = startup.getEntries(CU_RUN).at(0);
  EXPECT_FALSE(startup.disableEntry(locked));
  storetests::MakeWritable(HKEY_CURRENT_USER, RUN);

  ASSERT_EQ(1u, handler.texts.size());
  EXPECT_EQ(
      "Error while disabling an entry.\n\nType: 5\nState: 0\nValue: Locked\nData: "
      "C:\\locked.exe -q\n\nError when opening a registry key, access is denied. Key: "
      "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\n\n" +
          SystemErrors::map(ERROR_ACCESS_DENIED),
      handler.texts[0]);
  EXPECT_EQ(ENABLED, locked.getState());
  EXPECT_TRUE(GetValue(HKEY_CURRENT_USER, RUN, "Locked").exists);
}

TEST_F(StartupInterfaceTest, EveryOperationReportsItsOwnSentence) {
  struct Case {
    // False after a failure (format: whether it changed the entry, which it must not).
    bool (*operation)(StartupInterface&, StartupItem&);
    const char* program;
    const char* other;
  };
  const Case cases[] = {
      {[](StartupInterface& s, StartupItem& i) { return s.addEntry(i); },
       "Error while adding an entry.\n\n",
       "Error while adding an entry. An ... exception was caught.\n\n"},
      {[](StartupInterface& s, StartupItem& i) { return s.deleteEntry(i); },
       "Error while deleting an entry.\n\n",
       "Error while deleting an entry. An ... exception was caught.\n\n"},
      {[](StartupInterface& s, StartupItem& i) { return s.enableEntry(i); },
       "Error while enabling an entry.\n\n",
       "Error while enabling an entry. An ... exception was caught.\n\n"},
      {[](StartupInterface& s, StartupItem& i) { return s.disableEntry(i); },
       "Error while disabling an entry.\n\n",
       "Error while disabling an entry. An ... exception was caught.\n\n"},
      {[](StartupInterface& s, StartupItem& i) {
         return s.formatEntry(i).getName() != i.getName();
       },
       "Error while formating an entry.\n\n",
       "Error while formating an entry. An ... exception was caught.\n\n"},
  };
  FailingDatabase program(StartupConstants::LM_RUN_ALWAYS, true);
  FailingDatabase foreign(StartupConstants::LM_RUN_ONCE, false);
  StartupInterface startup(handler);
  startup.addDatabase(program);
  startup.addDatabase(foreign);
  StartupItem programItem(StartupConstants::LM_RUN_ALWAYS, ENABLED, "P", "p.exe");
  StartupItem foreignItem(StartupConstants::LM_RUN_ONCE, DISABLED, "F", "f.exe");
  for (const Case& c : cases) {
    handler.texts.clear();
    EXPECT_FALSE(c.operation(startup, programItem)) << c.program;
    EXPECT_FALSE(c.operation(startup, foreignItem)) << c.program;
    ASSERT_EQ(2u, handler.texts.size()) << c.program;
    EXPECT_EQ(c.program + programItem.toString() + "\n\nThe store failed.", handler.texts[0]);
    EXPECT_EQ(c.other + foreignItem.toString() + "\n\n", handler.texts[1]);
  }
  // The store's failure of a listing passes to the caller.
  EXPECT_THROW(startup.getEntries(StartupConstants::LM_RUN_ALWAYS), exceptions::Exception);
  EXPECT_EQ(std::vector<int>({0, 1}), startup.getTypes());
  // After a reported failure, format gives the entry back unchanged.
  EXPECT_EQ("P", startup.formatEntry(programItem).getName());
}

TEST_F(StartupInterfaceTest, AnUnregisteredTypeIsReportedAndTouchesNothing) {
  StartupInterface startup(handler);
  AssertionCatcher assertions;
  StartupItem item(StartupConstants::CU_RUN_AUTOSTART_USER, ENABLED, "x", "y");
  EXPECT_FALSE(startup.disableEntry(item));
  EXPECT_EQ(1u, assertions.count("_database.find(item.getType()) != _database.end()"));
  ASSERT_EQ(1u, handler.texts.size());
  EXPECT_EQ("Error while disabling an entry.\n\n" + item.toString() +
                "\n\nThere is no store for entries of this type.",
            handler.texts[0]);
  EXPECT_TRUE(startup.getEntries(8).empty());
}

class ReplaceAllEntries : public StartupInterfaceTest {
 protected:
  ReplaceAllEntries()
      : backup(backupFile()), database(CU_RUN, backup), recording(database), startup(handler) {
    SetText(HKEY_CURRENT_USER, RUN, "A", "C:\\a.exe");
    SetText(HKEY_CURRENT_USER, RUN, "B", "C:\\b.exe -b");
    SetText(HKEY_CURRENT_USER, RUN, "C", "C:\\c.exe");
    StartupItem c(CU_RUN, ENABLED, "C", "C:\\c.exe");
    database.disableEntry(c);
    startup.addDatabase(recording);
  }
  StartupItem entry(const std::string& name) const {
    for (const StartupItem& item : current) {
      if (item.getName() == name) return item;
    }
    return StartupItem(CU_RUN, ENABLED, name, "C:\\" + name + ".exe");
  }
  void SetUp() override { current = database.getEntries(); }

  RegistryBackup backup;
  RegistryDatabase database;
  RecordingDatabase recording;
  StartupInterface startup;
  std::vector<StartupItem> current;
};

TEST_F(ReplaceAllEntries, RewritesTheKeyInTheNewOrder) {
  ASSERT_EQ(3u, current.size());
  EXPECT_TRUE(startup.replaceAllEntries({entry("C"), entry("A"), entry("B")}));
  EXPECT_TRUE(handler.texts.empty());
  // The disabled entry C is neither deleted nor added: it stays kept and disabled.
  EXPECT_EQ(std::vector<std::string>({"delete:A", "delete:B", "add:A", "add:B"}), recording.calls);
  EXPECT_EQ(std::string("C:\\b.exe -b\0", 12), GetValue(HKEY_CURRENT_USER, RUN, "B").bytes);
  EXPECT_FALSE(GetValue(HKEY_CURRENT_USER, RUN, "C").exists);
  EXPECT_EQ(1u, RegistryBackup(backupFile()).getAllEntries().size());
  for (const StartupItem& item : database.getEntries())
    EXPECT_EQ(item.getName() == "C" ? DISABLED : ENABLED, item.getState()) << item.getName();
}

TEST_F(ReplaceAllEntries, AnEntryWindowsSwitchedOffIsTakenOutAndWrittenInItsPlace) {
  storetests::SetValue(HKEY_CURRENT_USER,
                       "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run",
                       "B", REG_BINARY, "\x03" + std::string(11, '\0'));
  current = database.getEntries();
  ASSERT_TRUE(entry("B").isSwitchedOffByWindows());
  EXPECT_TRUE(startup.replaceAllEntries({entry("B"), entry("C"), entry("A")}));
  EXPECT_EQ(std::vector<std::string>({"delete:A", "delete:B", "add:B", "add:A"}), recording.calls);
  current = database.getEntries();
  EXPECT_TRUE(entry("B").isSwitchedOffByWindows());
}

TEST_F(ReplaceAllEntries, ADifferentSetChangesNothing) {
  const std::vector<std::vector<StartupItem>> lists = {
      {entry("A"), entry("B")},
      {entry("A"), entry("B"), entry("C"), entry("D")},
      {entry("A"), entry("B"), entry("D")},
      {entry("A"), entry("A"), entry("B")},
  };
  for (const auto& list : lists) {
    handler.texts.clear();
    AssertionCatcher assertions;
    startup.replaceAllEntries(list);
    ASSERT_EQ(1u, handler.texts.size());
    EXPECT_EQ("The set of entries that defines the new loading order differs from the current set.",
              handler.texts[0]);
    EXPECT_EQ(1u, assertions.count("false"));
  }
  EXPECT_TRUE(recording.calls.empty());
  EXPECT_EQ(1u, backup.getEntries(CU_RUN).size());

  handler.texts.clear();
  startup.replaceAllEntries({});
  EXPECT_TRUE(handler.texts.empty());
  EXPECT_TRUE(recording.calls.empty());
}

TEST_F(ReplaceAllEntries, KeepsAnEntryItCouldNotWriteBack) {
  recording.failAddOf = "B";
  EXPECT_FALSE(startup.replaceAllEntries({entry("B"), entry("C"), entry("A")}));
  EXPECT_EQ(
      std::vector<std::string>({"delete:A", "delete:B", "add:B", "keep:B", "add:A"}),
      recording.calls);
  ASSERT_EQ(1u, handler.texts.size());
  EXPECT_EQ(
      "Error while trying to replace all entries.\n\nThe value could not be set.\n\nThe "
      "entry had been taken out of its place and could not be written back. It is kept "
      "as a disabled entry:\n" +
          entry("B").toString(),
      handler.texts[0]);
  // Kept in the store of disabled entries, on disk.
  RegistryBackup reloaded(backupFile());
  ASSERT_EQ(2u, reloaded.getAllEntries().size());  // C until the next save, B kept
  EXPECT_EQ("B", reloaded.getAllEntries()[1].getName());
  EXPECT_EQ("C:\\b.exe -b", reloaded.getAllEntries()[1].getData());
  EXPECT_TRUE(GetValue(HKEY_CURRENT_USER, RUN, "A").exists);
  EXPECT_FALSE(GetValue(HKEY_CURRENT_USER, RUN, "C").exists);
}

TEST_F(ReplaceAllEntries, ValuesKeepTheirRegistryTypes) {
  ::SetEnvironmentVariableA("VARNICKORDERTEST", "C:\\order");
  const std::string expandable("%VARNICKORDERTEST%\\e.exe\0", 25);
  const std::string number("\x01\0\0\0", 4);
  storetests::SetValue(HKEY_CURRENT_USER, RUN, "E", REG_EXPAND_SZ, expandable);
  storetests::SetValue(HKEY_CURRENT_USER, RUN, "N", REG_DWORD, number);
  storetests::SetValue(HKEY_CURRENT_USER, RUN, "K", REG_EXPAND_SZ, expandable);
  StartupItem kept(CU_RUN, ENABLED, "K", "C:\\order\\e.exe");
  database.disableEntry(kept);
  current = database.getEntries();
  std::vector<StartupItem> reversed(current.rbegin(), current.rend());
  EXPECT_TRUE(startup.replaceAllEntries(reversed));
  EXPECT_TRUE(handler.texts.empty());
  struct Case {
    const char* name;
    DWORD type;
    std::string bytes;
  };
  // K was disabled and stays kept, with its type.
  ASSERT_NE(nullptr, backup.findValue(kept));
  EXPECT_EQ(static_cast<DWORD>(REG_EXPAND_SZ), backup.findValue(kept)->registryType);
  const Case cases[] = {{"E", REG_EXPAND_SZ, expandable},
                        {"K", REG_NONE, ""},
                        {"N", REG_DWORD, number},
                        {"A", REG_SZ, std::string("C:\\a.exe\0", 9)}};
  for (const Case& c : cases) {
    const storetests::Value value = GetValue(HKEY_CURRENT_USER, RUN, c.name);
    EXPECT_EQ(c.type, value.type) << c.name;
    EXPECT_EQ(c.bytes, value.bytes) << c.name;
  }
}

}  // namespace
