#include "cleaner/forms/Options.h"

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include "cleaner/host/Cleaning.h"
#include "cleaner/host/CommandLine.h"
#include "cleaner/host/HostSettings.h"
#include "cleaner/forms/WindowParts.h"
#include "common/Ini.h"
#include "common/Unique.h"

namespace options {

namespace {

constexpr const char* kPage1Resource = "GLOBALOPTIONS";
constexpr const char* kPage2Resource = "AUTOSTART";
constexpr const char* kMessageCaption = "Varnick";

std::string StartupFolder() {
  LPITEMIDLIST items = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_STARTUP, &items)) || !items) return "";
  char path[MAX_PATH] = "";
  const BOOL ok = SHGetPathFromIDListA(items, path);
  CoTaskMemFree(items);
  return ok ? std::string(path) : std::string();
}

INT_PTR FlagsPage(HWND page, UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* sheetPage = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
      const auto* context = reinterpret_cast<const Context*>(sheetPage->lParam);
      SetWindowLongPtrA(page, DWLP_USER, reinterpret_cast<LONG_PTR>(context));
      CheckDlgButton(page, kRemoveOnRebootBox, context->removeOnReboot ? BST_CHECKED : BST_UNCHECKED);
      CheckDlgButton(page, kHideItemsBox, context->hideItems ? BST_CHECKED : BST_UNCHECKED);
      return TRUE;
    }
    case WM_NOTIFY:
      if (reinterpret_cast<const NMHDR*>(lParam)->code == static_cast<UINT>(PSN_APPLY)) {
        const auto* context = reinterpret_cast<const Context*>(GetWindowLongPtrA(page, DWLP_USER));
        const bool removeOnReboot = IsDlgButtonChecked(page, kRemoveOnRebootBox) == BST_CHECKED;
        const bool hideItems = IsDlgButtonChecked(page, kHideItemsBox) == BST_CHECKED;
        const std::string file = context->programFolder + hostsettings::kFileName;
        ini::WriteFlag(file, hostsettings::kSection, hostsettings::kRemoveOnReboot, removeOnReboot);
        ini::WriteFlag(file, hostsettings::kSection, hostsettings::kHideItems, hideItems);
        // HideItems takes effect at the next start only, as the page says.
        RemoveOnReboot = removeOnReboot;
        SetWindowLongPtrA(page, DWLP_MSGRESULT, PSNRET_NOERROR);
        return TRUE;
      }
      break;
  }
  return FALSE;
}

INT_PTR AutostartPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* sheetPage = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
      const auto* context = reinterpret_cast<const Context*>(sheetPage->lParam);
      HWND list = GetDlgItem(page, kPresetList);
      SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kLastUsedSettings));
      for (const std::string& name : context->presets)
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
      SendMessageA(list, CB_SETCURSEL, 0, 0);
      SetWindowLongPtrA(page, DWLP_USER, reinterpret_cast<LONG_PTR>(context));
      return TRUE;
    }
    case WM_COMMAND:
      if (HIWORD(wParam) != 0) break;
      if (LOWORD(wParam) == kInstallBtn) {
        HWND list = GetDlgItem(page, kPresetList);
        const LRESULT index = SendMessageA(list, CB_GETCURSEL, 0, 0);
        std::string preset;
        if (index > 0) {
          const LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, index, 0);
          if (length > 0) {
            preset.assign(static_cast<size_t>(length) + 1, '\0');
            SendMessageA(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&preset[0]));
            preset.resize(static_cast<size_t>(length));
          }
        }
        std::string arguments = commandline::QuietArguments(preset);
        if (IsDlgButtonChecked(page, kRunLogBox) == BST_CHECKED) {
          const auto* context = reinterpret_cast<const Context*>(GetWindowLongPtrA(page, DWLP_USER));
          if (context) arguments += " " + commandline::LogArgument(context->programFolder + kRunLogName);
        }
        const bool ok = CreateShortcut(kShortcutName, kShortcutDescription, arguments, kShortcutIconIndex);
        MessageBoxA(page, ok ? kInstalled : kInstallFailed, kMessageCaption, MB_OK);
        return TRUE;
      }
      if (LOWORD(wParam) == kRemoveBtn) {
        MessageBoxA(page, DeleteShortcut(kShortcutName) ? kRemoved : kRemoveFailed, kMessageCaption, MB_OK);
        return TRUE;
      }
      break;
  }
  return FALSE;
}

// The page procedures: no exception leaves them.
template <INT_PTR (*Page)(HWND, UINT, WPARAM, LPARAM)>
INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  return windowparts::Guarded([&] { return Page(page, message, wParam, lParam); },
                              [] { return static_cast<INT_PTR>(FALSE); });
}

}  // namespace

std::string ShortcutPath(const std::string& name) {
  const std::string folder = StartupFolder();
  return folder.empty() ? folder : folder + "\\" + name + ".lnk";
}

bool CreateShortcut(const std::string& name, const std::string& description, const std::string& arguments,
                    int iconIndex) {
  char program[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  const std::string linkPath = ShortcutPath(name);
  if (linkPath.empty()) return false;
  wchar_t widePath[MAX_PATH];
  if (MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, widePath, MAX_PATH) == 0) return false;

  const win::ComInit com;
  HRESULT result;
  {
    win::ComPtr<IShellLinkA> link;
    result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.putVoid());
    if (SUCCEEDED(result)) {
      link->SetPath(program);
      link->SetDescription(description.c_str());
      link->SetArguments(arguments.c_str());
      link->SetIconLocation(program, iconIndex);
      win::ComPtr<IPersistFile> file;
      result = link->QueryInterface(IID_IPersistFile, file.putVoid());
      if (SUCCEEDED(result)) result = file->Save(widePath, TRUE);
    }
  }
  return SUCCEEDED(result);
}

bool DeleteShortcut(const std::string& name) {
  const std::string linkPath = ShortcutPath(name);
  return !linkPath.empty() && DeleteFileA(linkPath.c_str()) != FALSE;
}

void OpenGlobalOptions(int startPage, HWND owner, const Context& context) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  PROPSHEETPAGEA pages[2] = {};
  const char* const resources[2] = {kPage1Resource, kPage2Resource};
  const char* const titles[2] = {kPage1Title, kPage2Title};
  const DLGPROC procs[2] = {PageProc<FlagsPage>, PageProc<AutostartPage>};
  for (int i = 0; i < 2; ++i) {
    pages[i].dwSize = sizeof pages[i];
    pages[i].dwFlags = PSP_USETITLE;
    pages[i].hInstance = instance;
    pages[i].pszTemplate = resources[i];
    pages[i].pszTitle = titles[i];
    pages[i].pfnDlgProc = procs[i];
    pages[i].lParam = reinterpret_cast<LPARAM>(&context);
  }
  PROPSHEETHEADERA header = {};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
  header.hwndParent = owner;
  header.hInstance = instance;
  header.pszCaption = kSheetCaption;
  header.nPages = 2;
  header.nStartPage = static_cast<UINT>(startPage > 1 ? 1 : 0);
  header.ppsp = pages;
  if (PropertySheetA(&header) < 0)
    MessageBoxA(owner, kPageCreationFailed, "Error", MB_OK | MB_TASKMODAL);
}

}  // namespace options
