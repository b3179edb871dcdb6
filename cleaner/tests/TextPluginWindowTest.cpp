// The host with text plug-ins in its "plug-ins\" folder, as a user meets it: the real
// program in a temporary program folder, its list read through the window.
#include <gtest/gtest.h>

#include "cleaner/MainIds.h"
#include "cleaner/tests/TextPluginFixtures.h"
#include "common/Ini.h"

namespace {

using namespace harness;
constexpr DWORD kTimeoutMs = 20000;

class TextPluginWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CopyFromBuild("morvel.exe", folder_.path()));
    // A binary plug-in whose name sorts after every text plug-in's.
    ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path(), "zz.vkp"));
    CreateDirectoryA((folder_ / "plug-ins").c_str(), nullptr);
    ASSERT_TRUE(fixtures::MakeFile(data_ / "one.tmp", 1000));
    ASSERT_TRUE(fixtures::MakeFile(data_ / "two.tmp", 2000));
    ASSERT_TRUE(fixtures::MakeFile(data_ / "deep\\three.tmp", 3000));
    ASSERT_TRUE(fixtures::MakeFile(data_ / "keep.dat", 5));
    key_ = "Software\\VarnickTests\\window" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(fixtures::SetBinary(HKEY_CURRENT_USER, key_, "recent", 4));
    WriteTextFile(folder_ / "plug-ins\\a.vkt",
                  "[Info]\r\nTitle=Text files\r\nDescription=Fixture files\r\n[files]\r\n" + data_.path() +
                      "*.tmp /S\r\n");
    WriteTextFile(folder_ / "plug-ins\\B.vkt",
                  "[Info]\r\nTitle=Text registry\r\n[registry]\r\nHKEY_CURRENT_USER|" + key_ + "|recent\r\n");
    WriteTextFile(folder_ / "plug-ins\\c.vkt", "[Info]\r\nDescription=No title\r\n");
  }
  void TearDown() override { SHDeleteKeyA(HKEY_CURRENT_USER, key_.c_str()); }
  std::string Program() const { return "\"" + folder_.path() + "morvel.exe\""; }
  TempFolder folder_;
  TempFolder data_;
  std::string key_;
};

TEST_F(TextPluginWindow, ListsTextPluginsAfterTheBinaryItemsWithWhatTheyFound) {
  Process morvel(Program());
  ASSERT_TRUE(morvel.started());
  HWND form = WaitForWindow(mainform::kClassName, mainform::kTitle, morvel.id(), kTimeoutMs);
  ASSERT_NE(nullptr, form);
  EXPECT_EQ(std::vector<std::string>({"Alpha (2 kB; 2 items)", "Beta (0 bytes; 0 items)",
                                      "Zero (4 kB; 0 items)", "One (1 bytes; 1 item)",
                                      "Text registry (4 bytes; 1 item)", "Text files (5 kB; 3 items)",
                                      "Error reading title (0 bytes; 0 items)"}),
            ListBoxItems(GetDlgItem(form, mainform::kCleaningItems)));
  ASSERT_TRUE(ClickButton(form, "E&xit"));
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
  EXPECT_TRUE(FileExists(data_ / "one.tmp"));
  EXPECT_EQ("0", ini::ReadString(folder_ / "morvel.ini", "Plugins", "Text files", "?"));
}

TEST_F(TextPluginWindow, HiddenEmptyTextPluginsAreLeftOut) {
  WriteTextFile(folder_ / "morvel.ini", "[morvel]\r\nHideItems=1\r\n");
  Process morvel(Program());
  HWND form = WaitForWindow(mainform::kClassName, mainform::kTitle, morvel.id(), kTimeoutMs);
  ASSERT_NE(nullptr, form);
  EXPECT_EQ(std::vector<std::string>({"Alpha (2 kB; 2 items)", "One (1 bytes; 1 item)",
                                      "Text registry (4 bytes; 1 item)", "Text files (5 kB; 3 items)"}),
            ListBoxItems(GetDlgItem(form, mainform::kCleaningItems)));
  PostMessageA(form, WM_CLOSE, 0, 0);
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
}

TEST_F(TextPluginWindow, QuietRunCleansTickedTextPluginsAndSchedulesNothing) {
  WriteTextFile(folder_ / "morvel.ini", "[morvel]\r\nRemoveOnReboot=1\r\n[Weekly]\r\nText files=1\r\n");
  ASSERT_TRUE(fixtures::MakeFile(data_ / "locked.tmp", 9));
  win::UniqueFile lock = fixtures::LockFile(data_ / "locked.tmp");
  ASSERT_TRUE(lock);
  Process morvel(Program() + " /q:Weekly");
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
  EXPECT_FALSE(FileExists(data_ / "one.tmp"));
  EXPECT_FALSE(FileExists(data_ / "deep"));
  EXPECT_TRUE(FileExists(data_ / "keep.dat"));
  EXPECT_TRUE(FileExists(data_ / "locked.tmp"));
  EXPECT_TRUE(fixtures::ValueExists(HKEY_CURRENT_USER, key_, "recent"));  // not ticked
  // Quiet mode never schedules: the restart list does not name the locked file.
  win::UniqueKey session;
  RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0,
                KEY_READ, session.put());
  char pending[8192] = "";
  DWORD size = sizeof pending - 1;
  RegQueryValueExA(session.get(), "PendingFileRenameOperations", nullptr, nullptr,
                   reinterpret_cast<BYTE*>(pending), &size);
  EXPECT_EQ(std::string::npos, std::string(pending, size).find("locked.tmp"));
}

}  // namespace
