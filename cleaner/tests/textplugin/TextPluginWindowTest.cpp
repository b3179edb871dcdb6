// The host with text plug-ins in its "plug-ins\" folder, as a user meets it: the real
// program in a temporary program folder, its list read through the window.
#include <gtest/gtest.h>

#include <cstring>

#include "cleaner/textplugin/Textpluginfo.h"
#include "cleaner/forms/MainIds.h"
#include "cleaner/tests/textplugin/TextPluginFixtures.h"
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

// "/log:PATH" after "/q:Preset": each run appends its result lines, stamped, to the file.
TEST_F(TextPluginWindow, QuietRunWithLogAppendsItsReport) {
  WriteTextFile(folder_ / "morvel.ini", "[Weekly]\r\nText files=1\r\nText registry=1\r\n");
  // In the program folder: the walk of "Text files" removes emptied folders below data_.
  const std::string log = folder_ / "night.log";
  ASSERT_TRUE(Process(Program() + " /q:Weekly \"/log:" + log + "\"").Wait(kTimeoutMs).ended);
  ASSERT_TRUE(Process(Program() + " /q:Weekly /LOG:" + log).Wait(kTimeoutMs).ended);
  EXPECT_FALSE(FileExists(data_ / "one.tmp"));
  const std::string report = ReadTextFile(log);
  const char* const expected[] = {
      " Text registry (4 bytes; 1 item): cleaned 4 bytes in 1 item.\r\n",
      " Text files (5 kB; 3 items): cleaned 5 kB in 3 items.\r\n",
      " Scheduled 0 file(s) for removal on reboot.\r\n",
      " Cleaned total of 5 kB in 4 items.\r\n",
      // The second run found nothing left.
      " Text registry (0 bytes; 0 items): cleaned 0 bytes in 0 items.\r\n",
      " Text files (0 bytes; 0 items): cleaned 0 bytes in 0 items.\r\n",
      " Scheduled 0 file(s) for removal on reboot.\r\n",
      " Cleaned total of 0 bytes in 0 items.\r\n"};
  std::size_t at = 0;
  for (const char* line : expected) {
    // Each line is "YYYY-MM-DD hh:mm:ss" and the result line.
    ASSERT_LT(at + 19, report.size()) << report;
    EXPECT_EQ('-', report[at + 4]);
    EXPECT_EQ(':', report[at + 13]);
    EXPECT_EQ(at + 19, report.find(line, at)) << line << "\n" << report;
    at += 19 + std::strlen(line);
  }
  EXPECT_EQ(report.size(), at);
}

TEST_F(TextPluginWindow, QuietRunThatCannotWriteItsLogStillCleans) {
  WriteTextFile(folder_ / "morvel.ini", "[Plugins]\r\nText files=1\r\n");
  const std::string log = folder_ / "a folder";  // a folder where the file should be
  CreateDirectoryA(log.c_str(), nullptr);
  ASSERT_TRUE(Process(Program() + " /q \"/log:" + log + "\"").Wait(kTimeoutMs).ended);
  EXPECT_FALSE(FileExists(data_ / "one.tmp"));
  EXPECT_TRUE(FileExists(data_ / "keep.dat"));
  // Without the argument the quiet run writes no file of its own.
  ASSERT_TRUE(Process(Program() + " /q").Wait(kTimeoutMs).ended);
  // (calls.log is the test plug-in's own record of its calls.)
  EXPECT_EQ(std::vector<std::string>({"calls.log", "morvel.exe", "morvel.ini", "zz.vkp"}),
            SortedFileNames(folder_.path(), "*"));
}

}  // namespace
