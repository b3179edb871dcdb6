// The store as it works on 64-bit Windows, where this 32-bit test program runs: the machine's
// Run keys in both registry views (on the real HKLM of the test prefix, with value names of
// the test's own that it removes again), and entries that Windows' own switch (StartupApproved)
// turned off, on scratch hives.
#include <gtest/gtest.h>

#include <algorithm>

#include "startup/StartupConstants.h"
#include "startup/StartupInterface.h"
#include "startup/database/AutostartDatabase.h"
#include "startup/database/RegistryBackup.h"
#include "startup/database/RegistryDatabase.h"
#include "startup/database/StartupApprovedFlag.h"
#include "startup/tests/store/StoreFixtures.h"
#include "tests/harness/Harness.h"

namespace {

using products::stelmar::StartupConstants;
using products::stelmar::StartupInterface;
using products::stelmar::StartupItem;
using products::stelmar::database::AutostartDatabase;
using products::stelmar::database::encodeApprovedFlag;
using products::stelmar::database::RegistryBackup;
using products::stelmar::database::RegistryDatabase;
using storetests::GetValue;
using storetests::SetValue;
using storetests::Value;

using storetests::DISABLED;
using storetests::ENABLED;
using storetests::RUN;
const char* const APPROVED = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\";

// A value of the real HKLM Run key in one view, removed again at the end.
class MachineRunValue {
 public:
  MachineRunValue(REGSAM view, const std::string& name, DWORD type, const std::string& bytes)
      : view_(view), name_(name) {
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, RUN, 0, nullptr, 0,
                                             KEY_SET_VALUE | view, nullptr, &key, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name.c_str(), 0, type,
                                            reinterpret_cast<const BYTE*>(bytes.data()),
                                            static_cast<DWORD>(bytes.size())));
    RegCloseKey(key);
  }
  ~MachineRunValue() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, RUN, 0, KEY_SET_VALUE | view_, &key) != ERROR_SUCCESS)
      return;
    RegDeleteValueA(key, name_.c_str());
    RegCloseKey(key);
  }
  // Type and bytes as they are now in its own view.
  Value read() const { return readIn(view_); }
  Value readIn(REGSAM view) const {
    Value value;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, RUN, 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
      return value;
    char data[2048];
    DWORD size = sizeof data;
    value.exists = RegQueryValueExA(key, name_.c_str(), nullptr, &value.type,
                                    reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS;
    if (value.exists) value.bytes.assign(data, size);
    RegCloseKey(key);
    return value;
  }

 private:
  REGSAM view_;
  std::string name_;
};

const StartupItem* find(const std::vector<StartupItem>& entries, const std::string& name) {
  const auto i = std::find_if(entries.begin(), entries.end(),
                              [&](const StartupItem& e) { return e.getName() == name; });
  return i == entries.end() ? nullptr : &*i;
}

std::vector<std::string> names(const std::vector<StartupItem>& entries) {
  std::vector<std::string> result;
  for (const StartupItem& e : entries) result.push_back(e.getName());
  return result;
}

class MachineViewsTest : public ::testing::Test {
 protected:
  MachineViewsTest() : backup(folder / "stelmar.dat") {}
  harness::TempFolder folder;
  RegistryBackup backup;
  RegistryDatabase native{StartupConstants::LM_RUN_ALWAYS, backup, true};
  RegistryDatabase view32{StartupConstants::LM_RUN_ALWAYS_32, backup, true};
  const std::string expandBytes{"%SystemRoot%\\vk64.exe\0", 22};
  MachineRunValue nativeValue{KEY_WOW64_64KEY, "VkNativeView", REG_EXPAND_SZ, expandBytes};
  MachineRunValue value32{KEY_WOW64_32KEY, "Vk32BitView", REG_EXPAND_SZ, expandBytes};
};

TEST_F(MachineViewsTest, EachViewListsItsOwnValuesAndKeepsThemThroughDisableAndEnable) {
  ASSERT_TRUE(nativeValue.read().exists && value32.read().exists);
  for (auto [database, own, other, value] :
       {std::make_tuple(&native, "VkNativeView", "Vk32BitView", &nativeValue),
        std::make_tuple(&view32, "Vk32BitView", "VkNativeView", &value32)}) {
    std::vector<StartupItem> entries = database->getEntries();
    const StartupItem* item = find(entries, own);
    ASSERT_TRUE(item) << own;
    EXPECT_FALSE(find(entries, other)) << own;
    StartupItem entry = *item;
    database->disableEntry(entry);
    EXPECT_FALSE(value->read().exists) << own;
    database->enableEntry(entry);
    const Value back = value->read();
    EXPECT_EQ(DWORD{REG_EXPAND_SZ}, back.type) << own;
    EXPECT_EQ(expandBytes, back.bytes) << own;
  }
  // The other view was never touched.
  EXPECT_FALSE(nativeValue.readIn(KEY_WOW64_32KEY).exists);
  EXPECT_FALSE(value32.readIn(KEY_WOW64_64KEY).exists);
}

TEST_F(MachineViewsTest, On32BitWindowsTheKeyIsTheProgramsOwnAsBefore) {
  RegistryDatabase before(StartupConstants::LM_RUN_ALWAYS, backup);
  const std::vector<StartupItem> entries = before.getEntries();
  EXPECT_TRUE(find(entries, "Vk32BitView"));
  EXPECT_FALSE(find(entries, "VkNativeView"));
}

// The registry of the test prefix lists values by name whatever their order of creation, so
// only what the rewrite keeps can be seen here (the interface's own tests see the order).
TEST_F(MachineViewsTest, LoadOrderOfThe32BitViewRewritesOnlyThatView) {
  MachineRunValue second(KEY_WOW64_32KEY, "Vk32BitSecond", REG_SZ, "C:\\second.exe");
  storetests::RecordingErrorHandler handler;
  StartupInterface startup(handler);
  startup.addDatabase(native);
  startup.addDatabase(view32);
  std::vector<StartupItem> order = view32.getEntries();
  std::vector<std::string> before = names(order);
  const auto first = std::find(before.begin(), before.end(), "Vk32BitView");
  const auto last = std::find(before.begin(), before.end(), "Vk32BitSecond");
  ASSERT_TRUE(first != before.end() && last != before.end());
  std::iter_swap(order.begin() + (first - before.begin()), order.begin() + (last - before.begin()));
  const std::vector<std::string> nativeBefore = names(native.getEntries());

  EXPECT_TRUE(startup.replaceAllEntries(order));
  EXPECT_TRUE(handler.texts.empty());
  std::vector<std::string> after = names(view32.getEntries());
  std::sort(before.begin(), before.end());
  std::sort(after.begin(), after.end());
  EXPECT_EQ(before, after);
  EXPECT_EQ(nativeBefore, names(native.getEntries()));
  EXPECT_EQ(expandBytes, value32.read().bytes);
  EXPECT_EQ(expandBytes, nativeValue.read().bytes);
}

// Windows' own switch, on the current user's Run key and start-up folder of scratch hives.
class SwitchedOffTest : public ::testing::Test {
 protected:
  SwitchedOffTest() : backup(folder / "stelmar.dat") {
    SetValue(HKEY_CURRENT_USER, RUN, "VkA", REG_SZ, "C:\\a.exe");
    SetValue(HKEY_CURRENT_USER, RUN, "VkOff", REG_EXPAND_SZ, std::string("%TEMP%\\off.exe\0", 15));
    flag("Run", "VkOff", encodeApprovedFlag(false, 0x01DC0000DEADBEEFull));
  }
  void flag(const std::string& location, const std::string& name, const std::string& bytes) {
    SetValue(HKEY_CURRENT_USER, APPROVED + location, name, REG_BINARY, bytes);
  }
  Value flagOf(const std::string& location, const std::string& name) const {
    return GetValue(HKEY_CURRENT_USER, APPROVED + location, name);
  }

  storetests::ScratchRegistry registry;
  harness::TempFolder folder;
  RegistryBackup backup;
  RegistryDatabase database{StartupConstants::CU_RUN_ALWAYS, backup, true};
};

TEST_F(SwitchedOffTest, IsListedDisabledAndTickingItSwitchesItOnLeavingTheValue) {
  const Value run = GetValue(HKEY_CURRENT_USER, RUN, "VkOff");
  std::vector<StartupItem> entries = database.getEntries();
  ASSERT_TRUE(find(entries, "VkOff") && find(entries, "VkA"));
  StartupItem off = *find(entries, "VkOff");
  EXPECT_EQ(DISABLED, off.getState());
  EXPECT_TRUE(off.isSwitchedOffByWindows());
  EXPECT_EQ(ENABLED, find(entries, "VkA")->getState());

  database.enableEntry(off);
  EXPECT_EQ(ENABLED, off.getState());
  EXPECT_FALSE(off.isSwitchedOffByWindows());
  EXPECT_EQ(std::string("\x02") + std::string(11, '\0'), flagOf("Run", "VkOff").bytes);
  EXPECT_EQ(DWORD{REG_BINARY}, flagOf("Run", "VkOff").type);
  const Value after = GetValue(HKEY_CURRENT_USER, RUN, "VkOff");
  EXPECT_EQ(run.type, after.type);
  EXPECT_EQ(run.bytes, after.bytes);
  EXPECT_FALSE(harness::FileExists(folder / "stelmar.dat"));
  EXPECT_EQ(ENABLED, find(database.getEntries(), "VkOff")->getState());
}

TEST_F(SwitchedOffTest, AMalformedFlagChangesNothing) {
  const std::string malformed[] = {std::string("\x03\0\0\0\0\0\0\0\0\0\0", 11),
                                   std::string("\x05\0\0\0\0\0\0\0\0\0\0\0", 12)};
  for (const std::string& bytes : malformed) {
    flag("Run", "VkOff", bytes);
    StartupItem off = *find(database.getEntries(), "VkOff");
    EXPECT_EQ(ENABLED, off.getState());
    database.disableEntry(off);
    database.enableEntry(off);
    EXPECT_EQ(bytes, flagOf("Run", "VkOff").bytes);
  }
}

TEST_F(SwitchedOffTest, AKeptEntryEnabledUnderAStaleSwitchIsSwitchedOnToo) {
  StartupItem a = *find(database.getEntries(), "VkA");
  database.disableEntry(a);
  flag("Run", "VkA", encodeApprovedFlag(false, 1));
  database.enableEntry(a);
  EXPECT_TRUE(GetValue(HKEY_CURRENT_USER, RUN, "VkA").exists);
  EXPECT_EQ(encodeApprovedFlag(true, 0), flagOf("Run", "VkA").bytes);
}

TEST_F(SwitchedOffTest, ANewEntryRunsWhateverSwitchAnEarlierOneLeftBehind) {
  flag("Run", "VkNew", encodeApprovedFlag(false, 5));
  StartupItem added(StartupConstants::CU_RUN_ALWAYS, ENABLED, "VkNew", "C:\\new.exe");
  database.addEntry(added);
  EXPECT_EQ(encodeApprovedFlag(true, 0), flagOf("Run", "VkNew").bytes);
  EXPECT_EQ(ENABLED, find(database.getEntries(), "VkNew")->getState());
}

TEST_F(SwitchedOffTest, AFileInTheStartUpFolderIsSwitchedOnWhereItIs) {
  const std::string startup = folder / "Startup";
  CreateDirectoryA(startup.c_str(), nullptr);
  harness::WriteTextFile(startup + "\\VkTool.exe", "");
  storetests::SetText(HKEY_CURRENT_USER,
                      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                      "Startup", startup);
  flag("StartupFolder", "VkTool.exe", encodeApprovedFlag(false, 7));
  storetests::CurrentDirectory current(folder.path());
  AutostartDatabase autostart(StartupConstants::CU_RUN_AUTOSTART, ".\\cuas\\", true);
  std::vector<StartupItem> entries = autostart.getEntries();
  ASSERT_EQ(1u, entries.size());
  EXPECT_TRUE(entries[0].isSwitchedOffByWindows());
  autostart.enableEntry(entries[0]);
  EXPECT_EQ(encodeApprovedFlag(true, 0), flagOf("StartupFolder", "VkTool.exe").bytes);
  EXPECT_TRUE(harness::FileExists(startup + "\\VkTool.exe"));
  EXPECT_EQ(ENABLED, autostart.getEntries()[0].getState());
}

}  // namespace
