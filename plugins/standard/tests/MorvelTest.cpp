// orvane.vkp beside the real host: its four items in the main window with counts from a
// seeded cache and temporary folder, and a quiet run that cleans exactly the ticked items.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <wininet.h>

#include "cleaner/forms/MainIds.h"
#include "plugins/standard/tests/PluginFixture.h"

namespace plugintest {
namespace {

using namespace cachefixture;
using harness::FileExists;
using harness::WriteTextFile;

class InMorvel : public PluginFolder {
 protected:
  void SetUp() override {
    PluginFolder::SetUp();
    ASSERT_TRUE(harness::CopyFromBuild("morvel.exe", Program()));
    ASSERT_TRUE(WriteTextFile(temp_ / "a.tmp", std::string(2048, 'a')));
    ASSERT_TRUE(WriteTextFile(temp_ / "b.tmp", std::string(1, 'b')));
    ASSERT_TRUE(Add("http://example.com/page.html", NORMAL_CACHE_ENTRY, 3072));
    ASSERT_TRUE(Add("Cookie:me@a.example/", COOKIE_CACHE_ENTRY, 10));
    ASSERT_TRUE(Add("Visited: me@http://example.com/", URLHISTORY_CACHE_ENTRY, 10));
  }
  std::string Morvel() const { return "\"" + Program() + "morvel.exe\""; }
};

TEST_F(InMorvel, TheMainWindowListsTheFourItemsWithTheirCounts) {
  harness::Process morvel(Morvel());
  ASSERT_TRUE(morvel.started());
  HWND form = harness::WaitForWindow(mainform::kClassName, mainform::kTitle, morvel.id(), kTimeoutMs);
  ASSERT_NE(nullptr, form);
  EXPECT_EQ(std::vector<std::string>({"System Temporary Files (2 kB; 2 items)",
                                      "Temporary Internet Files (3 kB; 1 item)",
                                      "Internet Cookies (10 bytes; 1 item)",
                                      "Internet History (10 bytes; 1 item)"}),
            harness::ListBoxItems(GetDlgItem(form, mainform::kCleaningItems)));
  PostMessageA(form, WM_CLOSE, 0, 0);
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
}

TEST_F(InMorvel, ConfigureInTheHostOpensTheSheetOwnedByItsWindow) {
  harness::Process morvel(Morvel());
  HWND form = harness::WaitForWindow(mainform::kClassName, mainform::kTitle, morvel.id(), kTimeoutMs);
  ASSERT_NE(nullptr, form);
  HWND list = GetDlgItem(form, mainform::kCleaningItems);
  RECT row{};
  SendMessageA(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
  PostMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(40, row.top + 2));
  HWND menu = harness::WaitForWindow("#32768", nullptr, morvel.id(), kTimeoutMs);
  ASSERT_NE(nullptr, menu);
  harness::PressKey(menu, VK_ESCAPE);
  harness::WaitWindowGone(menu, kTimeoutMs);
  PostMessageA(form, WM_COMMAND, mainform::kMenuConfigure, 0);
  HWND sheet = harness::WaitForWindow("#32770", "Standard plug-in configuration", morvel.id(), kTimeoutMs);
  ASSERT_NE(nullptr, sheet);
  EXPECT_EQ(form, GetWindow(sheet, GW_OWNER));
  PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  ASSERT_TRUE(harness::WaitWindowGone(sheet, kTimeoutMs));
  PostMessageA(form, WM_CLOSE, 0, 0);
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
}

TEST_F(InMorvel, AQuietRunCleansOnlyTheTickedItems) {
  WriteTextFile(Program() + "morvel.ini",
                "[Weekly]\r\nTemporary Internet Files=1\r\nInternet Cookies=1\r\n"
                "Internet History=0\r\n");
  harness::Process morvel(Morvel() + " /q:Weekly");
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
  EXPECT_FALSE(Exists("http://example.com/page.html"));
  EXPECT_FALSE(Exists("Cookie:me@a.example/"));
  EXPECT_TRUE(Exists("Visited: me@http://example.com/"));
  EXPECT_TRUE(FileExists(temp_ / "a.tmp"));
  EXPECT_FALSE(FileExists(Program() + "plugins.ini"));
}

// A quiet run with its report, on a hostile fixture. The log argument's backslashes must
// not move the settings: protected cookies and read-only files stay as "plugins.ini" says.
// A text plug-in names a files line that climbs out of its folder.
TEST_F(InMorvel, AQuietLoggedRunKeepsToItsSettingsAndInsideWhatItNames) {
  ASSERT_TRUE(WriteTextFile(Ini(), "[STD SETTINGS]\r\nDelReadonly=0\r\nCookieFilterOn=1\r\n"
                                   "[PROTECTED COOKIES]\r\n1=Cookie:me@a.example/\r\n"));
  ASSERT_TRUE(WriteTextFile(temp_ / "ro.tmp", "r"));
  ASSERT_TRUE(SetFileAttributesA((temp_ / "ro.tmp").c_str(), FILE_ATTRIBUTE_READONLY));
  const std::string outside = Program() + "outside\\";  // not in the temporary folder, which is cleaned
  ASSERT_TRUE(CreateDirectoryA(outside.c_str(), nullptr));
  ASSERT_TRUE(WriteTextFile(outside + "keep.txt", "k"));
  ASSERT_TRUE(CreateDirectoryA((Program() + "plug-ins").c_str(), nullptr));
  ASSERT_TRUE(WriteTextFile(Program() + "plug-ins\\hostile.vkt",
                            "[Info]\r\nTitle=Hostile\r\n[files]\r\n" + outside + "in\\..\\*.* /S\r\n"));
  ASSERT_TRUE(WriteTextFile(Program() + "morvel.ini",
                            "[Run]\r\nSystem Temporary Files=1\r\nInternet Cookies=1\r\nHostile=1\r\n"));
  const std::string log = Program() + "logs\\run.log";
  ASSERT_TRUE(CreateDirectoryA((Program() + "logs").c_str(), nullptr));
  harness::Process morvel(Morvel() + " /q:Run /log:" + log);
  const harness::ProcessResult result = morvel.Wait(kTimeoutMs);
  EXPECT_TRUE(result.ended);
  EXPECT_EQ(0u, result.exitCode);
  EXPECT_TRUE(Exists("Cookie:me@a.example/"));
  EXPECT_TRUE(FileExists(temp_ / "ro.tmp"));
  EXPECT_FALSE(FileExists(temp_ / "a.tmp"));
  EXPECT_TRUE(FileExists(outside + "keep.txt"));
  EXPECT_NE(std::string::npos, harness::ReadTextFile(log).find("Hostile (0 bytes; 0 items): cleaned 0 bytes in 0 items."));
}

}  // namespace
}  // namespace plugintest
