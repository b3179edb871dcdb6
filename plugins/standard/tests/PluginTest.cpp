// orvane.vkp as the host meets it: loaded through "_GetDLLInfo" in a process whose
// command line, TMP and TEMP point at test folders, its records read at the interface's
// offsets, its callbacks run, and what they removed checked on disk and in the cache.
#include <gtest/gtest.h>

#include <windows.h>
#include <wininet.h>

#include <cstring>

#include "common/Ini.h"
#include "plugins/standard/tests/PluginFixture.h"

namespace plugintest {
namespace {

using namespace cachefixture;
using harness::FileExists;
using harness::WriteTextFile;

const char* const kPage = "http://example.com/page.html";
const char* const kOld = "Cookie:me@old.example/";
const char* const kRecent = "Cookie:me@recent.example/";
const char* const kShop = "Cookie:me@shop.example/";
const char* const kVisited = "Visited: me@http://example.com/";

class Plugin : public PluginFolder {
 protected:
  void Seed() {
    ASSERT_TRUE(WriteTextFile(temp_ / "a.tmp", std::string(100, 'a')));
    ASSERT_TRUE(CreateDirectoryA((temp_ / "sub").c_str(), nullptr));
    ASSERT_TRUE(WriteTextFile(temp_ / "sub\\b.tmp", std::string(23, 'b')));
    ASSERT_TRUE(WriteTextFile(temp_ / "ro.tmp", std::string(7, 'r')));
    ASSERT_TRUE(SetFileAttributesA((temp_ / "ro.tmp").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(Add(kPage, NORMAL_CACHE_ENTRY, 1000));
    ASSERT_TRUE(Add(kOld, COOKIE_CACHE_ENTRY, 40));
    ASSERT_TRUE(Add(kRecent, COOKIE_CACHE_ENTRY, 30));
    ASSERT_TRUE(Add(kShop, COOKIE_CACHE_ENTRY, 20));
    ASSERT_TRUE(Add(kVisited, URLHISTORY_CACHE_ENTRY, 60));
    ASSERT_TRUE(SetLastAccess(kOld, HoursAgo(48.2)));
    ASSERT_TRUE(SetLastAccess(kRecent, HoursAgo(47)));
    ASSERT_TRUE(SetLastAccess(kShop, HoursAgo(1000)));
  }
  static void ExpectField(const dump::Item& item, int offset, int size, const std::string& text) {
    std::string field(reinterpret_cast<const char*>(item.raw + offset), static_cast<size_t>(size));
    std::string expected = text;
    expected.resize(static_cast<size_t>(size), '\0');
    EXPECT_EQ(expected, field) << text;
  }
};

TEST_F(Plugin, OffersFourItemsAtTheInterfaceOffsets) {
  Seed();
  ASSERT_TRUE(RunDriver(""));
  Dump d;
  ASSERT_TRUE(Load(d));
  EXPECT_TRUE(d.header.moduleMatches);
  ASSERT_EQ(4, d.header.itemCount);
  struct Expected {
    const char* title;
    std::string description;
    long long size, count;
    int hasConfig;
  };
  const Expected expected[] = {
      {"System Temporary Files",
       "Select this option to clean up the Windows System Temporary Folder. All files in it "
       "will be deleted. This folder is '" + Temp() + "'",
       130, 3, 1},
      {"Temporary Internet Files",
       "Select this option to clean all cache files like GIFs and HTML documents.", 1000, 1, 1},
      {"Internet Cookies", "Select this option to clean all cookie files on your system.", 90, 3,
       1},
      {"Internet History",
       "Select this option to clean the visited sites hyperlinks. When possible the history "
       "folder in the Windows directory is cleaned also.",
       60, 1, 0},
  };
  for (int i = 0; i < 4; ++i) {
    const dump::Item& item = d.items[static_cast<size_t>(i)];
    ExpectField(item, dump::kTitleOffset, 50, expected[i].title);
    ExpectField(item, dump::kDescriptionOffset, 258, expected[i].description);
    EXPECT_EQ(expected[i].size, d.Number(i, dump::kSizeFoundOffset)) << i;
    EXPECT_EQ(expected[i].count, d.Number(i, dump::kCountFoundOffset)) << i;
    EXPECT_EQ(0, d.Number(i, dump::kSizeCleanedOffset)) << i;
    EXPECT_EQ(0, d.Number(i, dump::kCountCleanedOffset)) << i;
    EXPECT_EQ(16, item.iconWidth) << i;
    EXPECT_EQ(16, item.iconHeight) << i;
    EXPECT_EQ(1, item.hasClean) << i;
    EXPECT_EQ(expected[i].hasConfig, item.hasConfig) << i;
  }
  Dump done;
  ASSERT_TRUE(Done(done));
  EXPECT_TRUE(done.header.nextKept);
}

TEST_F(Plugin, TheTemporaryItemStaysZeroedForTheWindowsFolder) {
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  CharLowerA(windows);
  ScopedVariable tmp("TMP", windows);
  ASSERT_TRUE(RunDriver("clean1"));
  Dump d;
  ASSERT_TRUE(Done(d));
  ASSERT_EQ(4, d.header.itemCount);
  const unsigned char zero[dump::kRawSize] = {};
  EXPECT_EQ(0, std::memcmp(zero, d.items[0].raw, sizeof zero));
  EXPECT_EQ(1, d.items[0].hasClean);  // a callback that does nothing
  EXPECT_EQ(0, d.items[0].hasConfig);
  EXPECT_EQ(0, d.items[0].iconWidth);
  EXPECT_EQ("Temporary Internet Files", d.Text(1, dump::kTitleOffset));
}

TEST_F(Plugin, ALongTemporaryFolderIsCutToTheDescriptionField) {
  const std::string longFolder = temp_ / std::string(170, 'l');
  ASSERT_TRUE(CreateDirectoryA(longFolder.c_str(), nullptr));
  ASSERT_TRUE(WriteTextFile(longFolder + "\\x.tmp", "12345"));
  ScopedVariable tmp("TMP", longFolder.c_str());
  ASSERT_TRUE(RunDriver(""));
  Dump d;
  ASSERT_TRUE(Load(d));
  const std::string description = d.Text(0, dump::kDescriptionOffset);
  EXPECT_EQ(257u, description.size());
  EXPECT_EQ(0u, description.find("Select this option to clean up the Windows System Temporary Folder."));
  EXPECT_EQ(0, d.items[0].raw[dump::kDescriptionOffset + 257]);
  EXPECT_EQ(5, d.Number(0, dump::kSizeFoundOffset));
}

TEST_F(Plugin, DefaultsCleanEveryItemExactly) {
  Seed();
  ASSERT_TRUE(RunDriver("clean1 clean2 clean3 clean4"));
  Dump d;
  ASSERT_TRUE(Done(d));
  EXPECT_EQ(130, d.Number(0, dump::kSizeCleanedOffset));
  EXPECT_EQ(3, d.Number(0, dump::kCountCleanedOffset));
  EXPECT_EQ(1000, d.Number(1, dump::kSizeCleanedOffset));
  EXPECT_EQ(1, d.Number(1, dump::kCountCleanedOffset));
  EXPECT_EQ(90, d.Number(2, dump::kSizeCleanedOffset));
  EXPECT_EQ(3, d.Number(2, dump::kCountCleanedOffset));
  EXPECT_EQ(0, d.Number(3, dump::kSizeCleanedOffset));  // history sizes are never cleaned sizes
  EXPECT_EQ(1, d.Number(3, dump::kCountCleanedOffset));
  EXPECT_TRUE(Urls().empty());
  EXPECT_FALSE(FileExists(temp_ / "ro.tmp"));
  EXPECT_FALSE(FileExists(temp_ / "sub"));
  EXPECT_TRUE(FileExists(Temp()));
}

TEST_F(Plugin, EachItemCleansOnlyWhatItNames) {
  Seed();
  ASSERT_TRUE(RunDriver("clean2"));
  EXPECT_FALSE(Exists(kPage));
  EXPECT_TRUE(Exists(kOld));
  EXPECT_TRUE(Exists(kVisited));
  EXPECT_TRUE(FileExists(temp_ / "a.tmp"));
  ASSERT_TRUE(RunDriver("clean4"));
  EXPECT_FALSE(Exists(kVisited));
  EXPECT_TRUE(Exists(kOld));
  ASSERT_TRUE(RunDriver("clean1"));
  EXPECT_FALSE(FileExists(temp_ / "a.tmp"));
  EXPECT_TRUE(Exists(kShop));
}

TEST_F(Plugin, SettingsChangeTheCleaning) {
  Seed();
  WriteTextFile(Ini(),
                "[STD SETTINGS]\r\nDelReadonly=0\r\nDelSubfolders=0\r\nCookieFilterOn=1\r\n"
                "DaysToKeep=2\r\n[PROTECTED COOKIES]\r\n1=Cookie:me@shop.example/\r\n");
  ASSERT_TRUE(RunDriver("clean1 clean3"));
  Dump d;
  ASSERT_TRUE(Done(d));
  EXPECT_EQ(2, d.Number(0, dump::kCountCleanedOffset));
  EXPECT_TRUE(FileExists(temp_ / "ro.tmp"));
  EXPECT_TRUE(FileExists(temp_ / "sub"));
  EXPECT_FALSE(FileExists(temp_ / "sub\\b.tmp"));
  EXPECT_EQ(1, d.Number(2, dump::kCountCleanedOffset));
  EXPECT_FALSE(Exists(kOld));
  EXPECT_TRUE(Exists(kRecent));
  EXPECT_TRUE(Exists(kShop));
}

TEST_F(Plugin, TheSettingsBesideTheProgramHoldWhateverTheCommandLineSays) {
  Seed();
  WriteTextFile(Ini(), "[STD SETTINGS]\r\nDelReadonly=0\r\n");
  // Unquoted, with an argument holding a backslash: that argument names no folder.
  const std::string moved = program_ / "orvane_driver.exe sub";
  ASSERT_TRUE(CreateDirectoryA(moved.c_str(), nullptr));
  WriteTextFile(moved + "\\plugins.ini", "[STD SETTINGS]\r\nDelReadonly=1\r\n");
  const std::string line = program_.path() + "orvane_driver.exe sub\\x clean1";
  ASSERT_EQ(std::string::npos, program_.path().find(' '));
  harness::Process driver(line);
  ASSERT_TRUE(driver.Wait(kTimeoutMs).ended);
  EXPECT_TRUE(FileExists(temp_ / "ro.tmp"));
  EXPECT_FALSE(FileExists(temp_ / "a.tmp"));
}

TEST_F(Plugin, AProtectedListOver32KBIsLoadedWholeWithoutAMessage) {
  Seed();
  std::string text = "[STD SETTINGS]\r\nCookieFilterOn=1\r\n[PROTECTED COOKIES]\r\n1=Cookie:me@shop.example/\r\n";
  for (int n = 2; n <= 140; ++n) text += std::to_string(n) + "=Cookie:" + std::string(240, 'x') + "\r\n";
  text += "141=Cookie:me@recent.example/\r\n";
  WriteTextFile(Ini(), text);
  // A message box would hold the driver until the timeout.
  harness::Process driver(DriverLine("clean3"));
  ASSERT_TRUE(driver.Wait(kTimeoutMs).ended);
  EXPECT_TRUE(Exists(kShop));
  EXPECT_TRUE(Exists(kRecent));  // beyond the first 32 KB
}

TEST_F(Plugin, AWininetBesideTheHostIsNeverLoaded) {
  Seed();
  // Any library without the cache functions would leave the internet items at zero.
  ASSERT_TRUE(harness::CopyFromBuild("test_empty.vkp", Program(), "wininet.dll"));
  // Wine prefers its own wininet to any file of that name unless told otherwise for the
  // driver alone; a plug-in that searched the program folder would then load the fake.
  const char* const kOverrides = "Software\\Wine\\AppDefaults\\orvane_driver.exe\\DllOverrides";
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kOverrides, 0, nullptr, 0,
                                           KEY_SET_VALUE, nullptr, &key, nullptr));
  const char kNativeFirst[] = "native,builtin";
  RegSetValueExA(key, "wininet", 0, REG_SZ, reinterpret_cast<const BYTE*>(kNativeFirst),
                 sizeof kNativeFirst);
  RegCloseKey(key);
  {
    harness::Process driver(DriverLine(""), Program());
    EXPECT_TRUE(driver.Wait(kTimeoutMs).ended);
  }
  RegDeleteKeyA(HKEY_CURRENT_USER, kOverrides);
  Dump d;
  ASSERT_TRUE(Load(d));
  ASSERT_EQ(4, d.header.itemCount);
  EXPECT_EQ(1, d.Number(1, dump::kCountFoundOffset));
  EXPECT_EQ(3, d.Number(2, dump::kCountFoundOffset));
  // test_empty.vkp logs its loading into calls.log beside itself.
  EXPECT_FALSE(FileExists(program_ / "calls.log"));
}

}  // namespace
}  // namespace plugintest
