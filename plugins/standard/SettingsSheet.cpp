// The settings sheet "Standard plug-in configuration": three pages that show the settings
// and write their keys to "plugins.ini" when applied.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "common/Ini.h"
#include "plugins/standard/Enumerate.h"
#include "plugins/standard/HostRun.h"
#include "plugins/standard/Plugin.h"
#include "plugins/standard/Resource.h"
#include "plugins/standard/Rules.h"

namespace orvane {

namespace {

const char* const kHostClass = "TMainForm";
const char* const kHostTitle = "Varnick";
const char* const kSheetCaption = "Standard plug-in configuration";
const char* const kPageFailedText = "Creation of property page failed.";
const char* const kPageFailedCaption = "Error";
const char* const kReadCookiesFailedText = "An error occured when reading cookies from cache";
const char* const kSetProtectedFailedText =
    "An error occured when setting protected cookies.Operation has failed. Cookie protection "
    "is off!";
constexpr int kDaysTextLimit = 32;

bool Checked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }
void Check(HWND page, int id, bool on) { CheckDlgButton(page, id, on ? BST_CHECKED : BST_UNCHECKED); }

void ApplyDone(HWND page) { SetWindowLongPtrA(page, DWLP_MSGRESULT, PSNRET_NOERROR); }

bool IsApply(LPARAM lParam) {
  return reinterpret_cast<const NMHDR*>(lParam)->code == static_cast<UINT>(PSN_APPLY);
}

// Any change of a control lets the user apply it.
void NoteChange(HWND page, WPARAM wParam) {
  const WORD code = HIWORD(wParam);
  if (code == BN_CLICKED || code == EN_CHANGE) SendMessageA(GetParent(page), PSM_CHANGED,
                                                            reinterpret_cast<WPARAM>(page), 0);
}

INT_PTR TempPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  PluginState& state = State();
  switch (message) {
    case WM_INITDIALOG:
      Check(page, IDC_DEL_READONLY, state.settings.delReadonly);
      Check(page, IDC_DEL_SUBFOLDERS, state.settings.delSubfolders);
      return TRUE;
    case WM_COMMAND:
      NoteChange(page, wParam);
      return FALSE;
    case WM_NOTIFY:
      if (!IsApply(lParam)) return FALSE;
      state.settings.delReadonly = Checked(page, IDC_DEL_READONLY);
      state.settings.delSubfolders = Checked(page, IDC_DEL_SUBFOLDERS);
      ini::WriteFlag(state.settingsFile, kSettingsSection, kDelReadonlyKey, state.settings.delReadonly);
      ini::WriteFlag(state.settingsFile, kSettingsSection, kDelSubfoldersKey,
                     state.settings.delSubfolders);
      ApplyDone(page);
      return TRUE;
  }
  return FALSE;
}

INT_PTR CachePage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  PluginState& state = State();
  switch (message) {
    case WM_INITDIALOG:
      Check(page, IDC_DEL_OFFLINE, state.settings.delOffline);
      return TRUE;
    case WM_COMMAND:
      NoteChange(page, wParam);
      return FALSE;
    case WM_NOTIFY:
      if (!IsApply(lParam)) return FALSE;
      state.settings.delOffline = Checked(page, IDC_DEL_OFFLINE);
      ini::WriteFlag(state.settingsFile, kSettingsSection, kDelOfflineKey, state.settings.delOffline);
      ApplyDone(page);
      return TRUE;
  }
  return FALSE;
}

std::string ListText(HWND list, int index) {
  const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, index, 0);
  if (length == LB_ERR) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT got = SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
  return text;
}

bool HoldsExactly(HWND list, const std::string& text) {
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i)
    if (ListText(list, static_cast<int>(i)) == text) return true;
  return false;
}

// The protected names as the cookie page read them, and those the user moved out since:
// applying the page writes no shorter list than that unless the user removed names.
std::vector<std::string> g_namesRead;
std::vector<std::string> g_namesRemoved;

// Moves every selected cookie of `from` into `to`, never twice into it. `moved`, when
// given, receives the names taken out of `from`.
void MoveSelected(HWND from, HWND to, std::vector<std::string>* moved = nullptr) {
  for (;;) {
    int first = 0;
    if (SendMessageA(from, LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&first)) != 1) break;
    const std::string text = ListText(from, first);
    if (!HoldsExactly(to, text)) SendMessageA(to, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (SendMessageA(from, LB_DELETESTRING, first, 0) == LB_ERR) break;
    if (moved) moved->push_back(text);
  }
}

void FillCookieLists(HWND page) {
  PluginState& state = State();
  HWND protectedList = GetDlgItem(page, IDC_PROTECTED);
  HWND unprotectedList = GetDlgItem(page, IDC_UNPROTECTED);
  EnsureProtectedList();
  g_namesRead = ProtectedNames(BlockNames(state.protectedList));
  g_namesRemoved.clear();
  for (const std::string& name : g_namesRead)
    SendMessageA(protectedList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));

  bool failed = false;
  auto rule = [&](const INTERNET_CACHE_ENTRY_INFOA& entry, bool) {
    if (KindOf(entry.CacheEntryType) != CacheKind::Cookie || !entry.lpszSourceUrlName) return;
    const LPARAM name = reinterpret_cast<LPARAM>(entry.lpszSourceUrlName);
    if (SendMessageA(protectedList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), name) != LB_ERR) return;
    const LRESULT added = SendMessageA(unprotectedList, LB_ADDSTRING, 0, name);
    if (added == LB_ERR || added == LB_ERRSPACE) failed = true;
  };
  // Without the cache functions there is nothing to read, and nothing went wrong.
  if (state.cache.findClose && (state.cache.findFirst || state.cache.findFirstEx)) {
    if (EnumerateCache(state.cache, rule).error != ERROR_NO_MORE_ITEMS) failed = true;
  }
  if (failed) MessageBoxA(nullptr, kReadCookiesFailedText, "", MB_OK);
}

void ApplyCookiePage(HWND page) {
  PluginState& state = State();
  const bool filterOn = Checked(page, IDC_COOKIE_FILTER);
  state.settings.cookieFilterOn = filterOn;
  if (state.protectedList) {
    HWND list = GetDlgItem(page, IDC_PROTECTED);
    std::vector<std::string> shown;
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) shown.push_back(ListText(list, static_cast<int>(i)));
    // Built aside, so that running out of memory leaves the list in use as it was.
    std::vector<char> block;
    ProtectedListBuilder builder(block);
    for (const std::string& name : NamesToWrite(shown, g_namesRead, g_namesRemoved)) builder.Add(name);
    state.protectedList->swap(block);
    SaveProtectedList(state.settingsFile, state.protectedList->data(), ReportProblem);
    g_namesRead = ProtectedNames(state.protectedList->data());
    g_namesRemoved.clear();
  } else {
    // The stored list stays as it is: losing it for want of memory would lose the user's work.
    // Protection is off for the rest of the run, as the message says; the stored flag
    // keeps the tick, so that the next run, with its list, protects again.
    state.settings.cookieFilterOn = false;
    MessageBoxA(nullptr, kSetProtectedFailedText, "", MB_OK);
  }
  char days[kDaysTextLimit + 1] = "";
  GetDlgItemTextA(page, IDC_DAYS, days, sizeof days);
  state.settings.daysToKeep = LeadingNumber(days);
  ini::WriteString(state.settingsFile, kSettingsSection, kDaysToKeepKey, days);
  ini::WriteFlag(state.settingsFile, kSettingsSection, kCookieFilterOnKey, filterOn);
}

INT_PTR CookiePage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  PluginState& state = State();
  switch (message) {
    case WM_INITDIALOG: {
      const std::string days = std::to_string(state.settings.daysToKeep);
      SendDlgItemMessageA(page, IDC_DAYS, EM_LIMITTEXT, kDaysTextLimit, 0);
      FillCookieLists(page);
      Check(page, IDC_COOKIE_FILTER, state.settings.cookieFilterOn);
      SetDlgItemTextA(page, IDC_DAYS, days.c_str());
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_PROTECT && HIWORD(wParam) == BN_CLICKED) {
        MoveSelected(GetDlgItem(page, IDC_UNPROTECTED), GetDlgItem(page, IDC_PROTECTED));
      } else if (LOWORD(wParam) == IDC_UNPROTECT && HIWORD(wParam) == BN_CLICKED) {
        MoveSelected(GetDlgItem(page, IDC_PROTECTED), GetDlgItem(page, IDC_UNPROTECTED), &g_namesRemoved);
      }
      NoteChange(page, wParam);
      return FALSE;
    case WM_NOTIFY:
      if (!IsApply(lParam)) return FALSE;
      ApplyCookiePage(page);
      ApplyDone(page);
      return TRUE;
  }
  return FALSE;
}

// Nothing thrown may cross the window procedure: a step that runs out of memory ends quietly.
template <INT_PTR (*Procedure)(HWND, UINT, WPARAM, LPARAM)>
INT_PTR CALLBACK Guarded(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return Procedure(page, message, wParam, lParam);
  } catch (const std::exception&) {
    return FALSE;
  }
}

void SetPage(PROPSHEETPAGEA& page, int dialog, int icon, DLGPROC procedure) {
  page.dwSize = sizeof page;
  page.dwFlags = PSP_USEICONID;
  page.hInstance = State().module;
  page.pszTemplate = MAKEINTRESOURCEA(dialog);
  page.pszIcon = MAKEINTRESOURCEA(icon);
  page.pfnDlgProc = procedure;
}

struct PageTableFree {
  void operator()(PROPSHEETPAGEA* pages) const { std::free(pages); }
};

}  // namespace

void OpenSettingsDialog(int startPage) {
  InitCommonControls();
  HWND owner = FindWindowA(kHostClass, kHostTitle);
  constexpr int kPageCount = 3;
  std::unique_ptr<PROPSHEETPAGEA, PageTableFree> pages(
      static_cast<PROPSHEETPAGEA*>(std::calloc(kPageCount, sizeof(PROPSHEETPAGEA))));
  if (!pages) {
    MessageBoxA(owner, kPageFailedText, kPageFailedCaption, MB_OK | MB_TASKMODAL);
    return;
  }
  SetPage(pages.get()[0], IDD_TEMP_PAGE, IDI_TEMP, Guarded<TempPage>);
  SetPage(pages.get()[1], IDD_CACHE_PAGE, IDI_CACHE, Guarded<CachePage>);
  SetPage(pages.get()[2], IDD_COOKIE_PAGE, IDI_COOKIES, Guarded<CookiePage>);

  PROPSHEETHEADERA header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_PROPSHEETPAGE;
  header.hwndParent = owner;
  header.hInstance = State().module;
  header.pszCaption = kSheetCaption;
  header.nPages = kPageCount;
  header.nStartPage = static_cast<UINT>(startPage);
  header.ppsp = pages.get();
  PropertySheetA(&header);
}

}  // namespace orvane
