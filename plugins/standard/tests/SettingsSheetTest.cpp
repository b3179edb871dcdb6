// The settings sheet "Standard plug-in configuration" of the real plug-in, opened by the
// test driver through an item's ConfigProc and worked through its controls.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <wininet.h>

#include "common/Ini.h"
#include "plugins/standard/Resource.h"
#include "plugins/standard/tests/PluginFixture.h"

namespace plugintest {
namespace {

using namespace cachefixture;
using harness::ListBoxItems;
using harness::WriteTextFile;

const char* const kCaption = "Standard plug-in configuration";
constexpr int kApplyButton = 0x3021;  // the sheet's Apply button

class SettingsSheet : public PluginFolder {
 protected:
  // Starts the driver on an item's ConfigProc and waits for the sheet.
  HWND Open(const char* command) {
    driver_ = std::make_unique<harness::Process>(DriverLine(command));
    if (!driver_->started()) return nullptr;
    return harness::WaitForWindow("#32770", kCaption, driver_->id(), kTimeoutMs);
  }
  static HWND Page(HWND sheet) {
    return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  }
  static bool IsChecked(HWND page, int id) {
    return SendMessageA(GetDlgItem(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  static void Click(HWND page, int id) { SendMessageA(GetDlgItem(page, id), BM_CLICK, 0, 0); }
  // Presses a sheet button and waits until the driver has ended.
  bool Close(HWND sheet, int button) {
    PostMessageA(sheet, PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0);
    return driver_->Wait(kTimeoutMs).ended;
  }
  std::string Setting(const char* key) const { return ini::ReadString(Ini(), "STD SETTINGS", key, "?"); }
  std::string Protected(const char* key) const {
    return ini::ReadString(Ini(), "PROTECTED COOKIES", key, "?");
  }
  std::unique_ptr<harness::Process> driver_;
};

TEST_F(SettingsSheet, ApplyWritesDelReadonlyBeforeTheSheetClosesAndTakesEffect) {
  ASSERT_TRUE(WriteTextFile(temp_ / "a.tmp", "a"));
  ASSERT_TRUE(WriteTextFile(temp_ / "ro.tmp", "r"));
  ASSERT_TRUE(SetFileAttributesA((temp_ / "ro.tmp").c_str(), FILE_ATTRIBUTE_READONLY));
  HWND sheet = Open("config1 clean1");
  ASSERT_NE(nullptr, sheet);
  HWND page = Page(sheet);
  ASSERT_NE(nullptr, page);
  EXPECT_TRUE(IsChecked(page, IDC_DEL_READONLY));  // the defaults
  EXPECT_TRUE(IsChecked(page, IDC_DEL_SUBFOLDERS));
  Click(page, IDC_DEL_READONLY);
  EXPECT_FALSE(IsChecked(page, IDC_DEL_READONLY));
  // The change lets the user apply it.
  HWND apply = GetDlgItem(sheet, kApplyButton);
  for (int i = 0; i < 200 && !IsWindowEnabled(apply); ++i) Sleep(20);
  EXPECT_TRUE(IsWindowEnabled(apply));
  PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
  for (int i = 0; i < 200 && Setting("DelReadonly") != "0"; ++i) Sleep(50);
  EXPECT_EQ("0", Setting("DelReadonly"));
  EXPECT_EQ("1", Setting("DelSubfolders"));
  EXPECT_TRUE(IsWindow(sheet));
  ASSERT_TRUE(Close(sheet, PSBTN_CANCEL));
  EXPECT_EQ("?", Setting("DelOffline"));
  // The applied setting holds for the rest of the run: the cleaning after it keeps
  // read-only files.
  EXPECT_FALSE(harness::FileExists(temp_ / "a.tmp"));
  EXPECT_TRUE(harness::FileExists(temp_ / "ro.tmp"));
}

TEST_F(SettingsSheet, ThePagesShowAndWriteTheirSettings) {
  WriteTextFile(Ini(), "[STD SETTINGS]\r\nDelReadonly=0\r\nDelSubfolders=7\r\nDelOffline=0\r\n");
  HWND sheet = Open("config2");
  ASSERT_NE(nullptr, sheet);
  HWND page = Page(sheet);
  EXPECT_FALSE(IsChecked(page, IDC_DEL_OFFLINE));
  Click(page, IDC_DEL_OFFLINE);
  SendMessageA(sheet, PSM_SETCURSEL, 0, 0);
  page = Page(sheet);
  EXPECT_FALSE(IsChecked(page, IDC_DEL_READONLY));
  EXPECT_TRUE(IsChecked(page, IDC_DEL_SUBFOLDERS));
  Click(page, IDC_DEL_SUBFOLDERS);
  ASSERT_TRUE(Close(sheet, PSBTN_OK));
  EXPECT_EQ("1", Setting("DelOffline"));
  EXPECT_EQ("0", Setting("DelReadonly"));
  EXPECT_EQ("0", Setting("DelSubfolders"));
}

TEST_F(SettingsSheet, TheCookiePageMovesCookiesAndApplyWritesTheList) {
  ASSERT_TRUE(Add("Cookie:me@a.example/", COOKIE_CACHE_ENTRY, 10));
  ASSERT_TRUE(Add("Cookie:me@b.example/", COOKIE_CACHE_ENTRY, 10));
  ASSERT_TRUE(Add("Cookie:me@c.example/", COOKIE_CACHE_ENTRY, 10));
  ASSERT_TRUE(Add("http://example.com/page.html", NORMAL_CACHE_ENTRY, 10));
  WriteTextFile(Ini(),
                "[STD SETTINGS]\r\nDaysToKeep=5\r\n[PROTECTED COOKIES]\r\n1=Cookie:me@B.example/\r\n"
                "2=Cookie:me@gone.example/\r\n4=Cookie:me@ignored.example/\r\n");
  HWND sheet = Open("config3");
  ASSERT_NE(nullptr, sheet);
  HWND page = Page(sheet);
  HWND unprotectedList = GetDlgItem(page, IDC_UNPROTECTED);
  HWND protectedList = GetDlgItem(page, IDC_PROTECTED);
  // A protected name in another case hides the cache's cookie from the unprotected list.
  EXPECT_EQ(std::vector<std::string>({"Cookie:me@a.example/", "Cookie:me@c.example/"}),
            ListBoxItems(unprotectedList));
  EXPECT_EQ(std::vector<std::string>({"Cookie:me@B.example/", "Cookie:me@gone.example/"}),
            ListBoxItems(protectedList));
  EXPECT_EQ("5", harness::WindowText(GetDlgItem(page, IDC_DAYS)));
  EXPECT_FALSE(IsChecked(page, IDC_COOKIE_FILTER));

  SendMessageA(unprotectedList, LB_SETSEL, TRUE, 0);
  SendMessageA(unprotectedList, LB_SETSEL, TRUE, 1);
  Click(page, IDC_PROTECT);
  EXPECT_TRUE(ListBoxItems(unprotectedList).empty());
  EXPECT_EQ(std::vector<std::string>({"Cookie:me@a.example/", "Cookie:me@B.example/",
                                      "Cookie:me@c.example/", "Cookie:me@gone.example/"}),
            ListBoxItems(protectedList));
  SendMessageA(protectedList, LB_SETSEL, TRUE, 3);
  Click(page, IDC_UNPROTECT);
  EXPECT_EQ(std::vector<std::string>({"Cookie:me@gone.example/"}), ListBoxItems(unprotectedList));

  // A cookie that the target already holds leaves the source without a second entry.
  SendMessageW(unprotectedList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Cookie:me@a.example/"));
  const LRESULT index =
      SendMessageW(unprotectedList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(L"Cookie:me@a.example/"));
  ASSERT_NE(LB_ERR, index);
  SendMessageA(unprotectedList, LB_SETSEL, TRUE, index);
  Click(page, IDC_PROTECT);
  EXPECT_EQ(std::vector<std::string>({"Cookie:me@gone.example/"}), ListBoxItems(unprotectedList));
  EXPECT_EQ(3u, ListBoxItems(protectedList).size());

  Click(page, IDC_COOKIE_FILTER);
  SendMessageW(GetDlgItem(page, IDC_DAYS), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"3 days"));
  ASSERT_TRUE(Close(sheet, PSBTN_OK));
  EXPECT_EQ("Cookie:me@a.example/", Protected("1"));
  EXPECT_EQ("Cookie:me@B.example/", Protected("2"));
  EXPECT_EQ("Cookie:me@c.example/", Protected("3"));
  EXPECT_EQ("?", Protected("4"));
  EXPECT_EQ("3 days", Setting("DaysToKeep"));
  EXPECT_EQ("1", Setting("CookieFilterOn"));
}

// A stand-in for the host's main window, with a thread of its own that answers the
// messages the sheet's modal loop sends to its owner.
class HostWindow {
 public:
  HostWindow() {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    for (int i = 0; i < 400 && !window_; ++i) Sleep(10);
  }
  ~HostWindow() {
    if (window_) PostMessageA(window_, WM_CLOSE, 0, 0);
    if (thread_) {
      WaitForSingleObject(thread_, kTimeoutMs);
      CloseHandle(thread_);
    }
  }
  HWND window() const { return window_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
  }
  static DWORD WINAPI Run(void* self) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "TMainForm";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("TMainForm", "Varnick", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                                200, nullptr, nullptr, windowClass.hInstance, nullptr);
    static_cast<HostWindow*>(self)->window_ = window;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    UnregisterClassA("TMainForm", windowClass.hInstance);
    return 0;
  }
  HANDLE thread_ = nullptr;
  HWND volatile window_ = nullptr;
};

TEST_F(SettingsSheet, TheHostWindowOwnsTheSheet) {
  HostWindow host;
  ASSERT_NE(nullptr, host.window());
  HWND sheet = Open("config2");
  ASSERT_NE(nullptr, sheet);
  EXPECT_EQ(host.window(), GetWindow(sheet, GW_OWNER));
  EXPECT_NE(nullptr, GetDlgItem(Page(sheet), IDC_DEL_OFFLINE));  // the start page of item 2
  ASSERT_TRUE(Close(sheet, PSBTN_CANCEL));
}

}  // namespace
}  // namespace plugintest
