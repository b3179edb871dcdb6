// The global options sheet of the real program: its flags and the autostart shortcut.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "cleaner/forms/MainIds.h"
#include "cleaner/forms/Options.h"
#include "common/Ini.h"
#include "common/Unique.h"
#include "tests/harness/Harness.h"

namespace {

using namespace harness;
constexpr DWORD kTimeoutMs = 20000;

class Options : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CopyFromBuild("morvel.exe", folder_.path()));
    ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path()));
    CoInitialize(nullptr);
  }
  void TearDown() override { CoUninitialize(); }
  HWND OpenSheet(Process& morvel) {
    HWND form = WaitForWindow(mainform::kClassName, mainform::kTitle, morvel.id(), kTimeoutMs);
    if (!form || !ClickButton(form, "&C")) return nullptr;
    return WaitForWindow("#32770", options::kSheetCaption, morvel.id(), kTimeoutMs);
  }
  // Presses a page button and returns the text of the message box it shows, closing it.
  std::string PressForMessage(HWND sheet, const char* button) {
    if (!ClickButton(sheet, button)) return "no button";
    HWND box = WaitForWindow("#32770", "Varnick", GetCurrentProcessId(), kTimeoutMs);
    if (!box) return "no message";
    std::string text;
    for (const Control& c : Controls(box))
      if (c.className == "Static" && !c.text.empty()) text = c.text;
    ClickButton(box, "OK");
    WaitWindowGone(box, kTimeoutMs);
    return text;
  }
  std::string ShortcutArguments() {
    win::ComPtr<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.putVoid())))
      return "?";
    win::ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.putVoid()))) return "?";
    wchar_t path[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, options::ShortcutPath(options::kShortcutName).c_str(), -1, path, MAX_PATH);
    if (FAILED(file->Load(path, STGM_READ))) return "no shortcut";
    char arguments[MAX_PATH] = "";
    link->GetArguments(arguments, MAX_PATH);
    char description[MAX_PATH] = "";
    link->GetDescription(description, MAX_PATH);
    char target[MAX_PATH] = "";
    link->GetPath(target, MAX_PATH, nullptr, 0);
    char icon[MAX_PATH] = "";
    int index = -1;
    link->GetIconLocation(icon, MAX_PATH, &index);
    EXPECT_EQ(options::kShortcutDescription, std::string(description));
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    EXPECT_EQ(std::string(program), std::string(target));
    EXPECT_EQ(1, index);
    return arguments;
  }
  std::string Ini() const { return folder_ / "morvel.ini"; }
  TempFolder folder_;
};

TEST_F(Options, OkWritesBothFlagsAndCancelWritesNothing) {
  WriteTextFile(Ini(), "[morvel]\r\nHideItems=0\r\n");
  Process morvel("\"" + folder_.path() + "morvel.exe\"");
  HWND sheet = OpenSheet(morvel);
  ASSERT_NE(nullptr, sheet);
  HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  ASSERT_NE(nullptr, page);
  EXPECT_EQ(BST_CHECKED, SendMessageA(GetDlgItem(page, options::kRemoveOnRebootBox), BM_GETCHECK, 0, 0));
  EXPECT_EQ(BST_UNCHECKED, SendMessageA(GetDlgItem(page, options::kHideItemsBox), BM_GETCHECK, 0, 0));
  SendMessageA(GetDlgItem(page, options::kRemoveOnRebootBox), BM_SETCHECK, BST_UNCHECKED, 0);
  SendMessageA(GetDlgItem(page, options::kHideItemsBox), BM_SETCHECK, BST_CHECKED, 0);
  PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  ASSERT_TRUE(WaitWindowGone(sheet, kTimeoutMs));
  EXPECT_EQ("0", ini::ReadString(Ini(), "morvel", "HideItems", "?"));
  EXPECT_EQ("?", ini::ReadString(Ini(), "morvel", "RemoveOnReboot", "?"));

  sheet = OpenSheet(morvel);
  ASSERT_NE(nullptr, sheet);
  page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  SendMessageA(GetDlgItem(page, options::kRemoveOnRebootBox), BM_SETCHECK, BST_UNCHECKED, 0);
  SendMessageA(GetDlgItem(page, options::kHideItemsBox), BM_SETCHECK, BST_CHECKED, 0);
  PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
  ASSERT_TRUE(WaitWindowGone(sheet, kTimeoutMs));
  EXPECT_EQ("1", ini::ReadString(Ini(), "morvel", "HideItems", "?"));
  EXPECT_EQ("0", ini::ReadString(Ini(), "morvel", "RemoveOnReboot", "?"));
  // Hiding takes effect at the next start: the list still shows every item.
  HWND form = WaitForWindow(mainform::kClassName, mainform::kTitle, morvel.id(), kTimeoutMs);
  EXPECT_EQ(4u, ListBoxItems(GetDlgItem(form, mainform::kCleaningItems)).size());
  PostMessageA(form, WM_CLOSE, 0, 0);
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
}

// The sheet runs in this process, whose current user's start-up folder is a scratch
// folder: no test touches the start-up folder of the prefix's user.
class OptionsShortcut : public Options {
 protected:
  void SetUp() override {
    Options::SetUp();
    scratch_ = "Software\\VarnickTests\\startup" + std::to_string(GetCurrentProcessId());
    win::UniqueKey root, folders;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, scratch_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, root.put(), nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_CURRENT_USER, root.get()));
    overridden_ = true;
    const char* const shellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, shellFolders, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                             folders.put(), nullptr));
    std::string folder = startup_.path();
    folder.pop_back();
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(folders.get(), "Startup", 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>(folder.c_str()),
                                            static_cast<DWORD>(folder.size() + 1)));
    ASSERT_EQ(startup_ / "Varnick.lnk", options::ShortcutPath(options::kShortcutName));
  }
  void TearDown() override {
    if (sheetThread_.joinable()) sheetThread_.join();
    if (overridden_) RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    SHDeleteKeyA(HKEY_CURRENT_USER, scratch_.c_str());
    Options::TearDown();
  }
  HWND OpenSheetHere(const std::vector<std::string>& presets) {
    context_.programFolder = folder_.path();
    context_.presets = presets;
    sheetThread_ = std::thread([this] { options::OpenGlobalOptions(2, nullptr, context_); });
    return WaitForWindow("#32770", options::kSheetCaption, GetCurrentProcessId(), kTimeoutMs);
  }
  TempFolder startup_;
  std::string scratch_;
  bool overridden_ = false;
  options::Context context_;
  std::thread sheetThread_;
};

TEST_F(OptionsShortcut, InstallsAndRemovesTheQuietModeShortcut) {
  HWND sheet = OpenSheetHere({"Daily", "Weekly"});
  ASSERT_NE(nullptr, sheet);
  HWND list = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    list = page ? GetDlgItem(page, options::kPresetList) : nullptr;
    return list != nullptr;
  }, kTimeoutMs));
  EXPECT_EQ(std::vector<std::string>({options::kLastUsedSettings, "Daily", "Weekly"}), ComboBoxItems(list));
  EXPECT_EQ(0, SendMessageA(list, CB_GETCURSEL, 0, 0));

  EXPECT_EQ(options::kRemoveFailed, PressForMessage(sheet, "&Remove"));
  EXPECT_EQ(options::kInstalled, PressForMessage(sheet, "&Install"));
  EXPECT_EQ("/q", ShortcutArguments());
  SendMessageA(list, CB_SETCURSEL, 2, 0);
  EXPECT_EQ(options::kInstalled, PressForMessage(sheet, "&Install"));
  EXPECT_EQ("\"/q:Weekly\"", ShortcutArguments());
  HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  SendMessageA(GetDlgItem(page, options::kRunLogBox), BM_CLICK, 0, 0);
  EXPECT_EQ(options::kInstalled, PressForMessage(sheet, "&Install"));
  EXPECT_EQ("\"/q:Weekly\" \"/log:" + folder_.path() + "morvel.log\"", ShortcutArguments());
  EXPECT_EQ(options::kRemoved, PressForMessage(sheet, "&Remove"));
  EXPECT_EQ("no shortcut", ShortcutArguments());
  // Enter on a focused button clicks that button, not the sheet's OK.
  for (int button : {options::kInstallBtn, options::kRemoveBtn}) {
    PostMessageA(page, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(page, button)), TRUE);
    PressKey(GetDlgItem(page, button), VK_RETURN);
    HWND box = WaitForWindow("#32770", "Varnick", GetCurrentProcessId(), kTimeoutMs);
    ASSERT_NE(nullptr, box) << button;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitWindowGone(box, kTimeoutMs));
    EXPECT_EQ(button == options::kInstallBtn ? "\"/q:Weekly\" \"/log:" + folder_.path() + "morvel.log\"" : "no shortcut",
              ShortcutArguments());
  }
  EXPECT_TRUE(IsWindow(sheet));
  PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  ASSERT_TRUE(WaitWindowGone(sheet, kTimeoutMs));
}

TEST_F(Options, TheShortcutsIconAndTheVersionAreInTheProgramFile) {
  const std::string program = folder_ / "morvel.exe";
  EXPECT_EQ(2u, ExtractIconExA(program.c_str(), -1, nullptr, nullptr, 0));
  const win::UniqueIcon icon(ExtractIconA(GetModuleHandleA(nullptr), program.c_str(), options::kShortcutIconIndex));
  EXPECT_GT(reinterpret_cast<UINT_PTR>(icon.get()), 1u);  // 1 would mean "not an icon file"
  DWORD ignored = 0;
  std::vector<char> data(GetFileVersionInfoSizeA(program.c_str(), &ignored));
  ASSERT_FALSE(data.empty());
  ASSERT_TRUE(GetFileVersionInfoA(program.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
  char* name = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\040904E4\\ProductName",
                             reinterpret_cast<void**>(&name), &length));
  EXPECT_STREQ("Varnick", name);
}

}  // namespace
