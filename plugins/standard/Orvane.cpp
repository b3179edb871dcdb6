// The library entry and "_GetDLLInfo" of the standard plug-in, with its four items.
#include <windows.h>
#include <objbase.h>
#include <shlguid.h>
#include <urlhist.h>

#include <cstring>
#include <exception>
#include <utility>

#include "cleaner/plugin-api/PluginApi.h"
#include "common/Dpi.h"
#include "plugins/standard/CacheItems.h"
#include "plugins/standard/HostRun.h"
#include "plugins/standard/Plugin.h"
#include "plugins/standard/Resource.h"
#include "plugins/standard/TempFiles.h"

namespace orvane {

namespace {

const char* const kTempTitle = "System Temporary Files";
const char* const kCacheTitle = "Temporary Internet Files";
const char* const kCacheDescription =
    "Select this option to clean all cache files like GIFs and HTML documents.";
const char* const kCookiesTitle = "Internet Cookies";
const char* const kCookiesDescription =
    "Select this option to clean all cookie files on your system.";
const char* const kHistoryTitle = "Internet History";
const char* const kHistoryDescription =
    "Select this option to clean the visited sites hyperlinks. When possible the history "
    "folder in the Windows directory is cleaned also.";

enum ItemIndex { kTempItem, kCacheItem, kCookiesItem, kHistoryItem, kItemCount };

PluginState g_state;
// What the temporary item counted: its cleaning removes only those files.
deletion::FileSnapshot g_tempSeen;
DLLItem g_items[kItemCount];
DLLItem* g_table[kItemCount] = {&g_items[0], &g_items[1], &g_items[2], &g_items[3]};
DLLInfo g_info;

void CopyText(char* field, std::size_t size, const char* text) {
  std::strncpy(field, text, size - 1);
  field[size - 1] = '\0';
}

HICON SmallIcon(int resource) {
  HICON icon = LoadIconA(g_state.module, MAKEINTRESOURCEA(resource));
  if (!icon) return nullptr;
  // The host draws item icons at the small-icon size of its DPI: take the icon file's image
  // for that size rather than have a 16-pixel one stretched.
  const int size = dpi::Metric(SM_CXSMICON, dpi::System());
  return static_cast<HICON>(
      CopyImage(icon, IMAGE_ICON, size, size, LR_COPYFROMRESOURCE | LR_COPYDELETEORG));
}

void SetCleaned(DLLItem& item, const Counters& cleaned) {
  item.sizeCleaned += cleaned.size;
  item.countCleaned += cleaned.count;
}

void SetFound(DLLItem& item, const Counters& found) {
  item.sizeFound = found.size;
  item.countFound = found.count;
}

// Every callback is an edge: nothing thrown inside may reach the host. A step that runs
// out of memory ends quietly.
template <typename Step>
void Guarded(Step step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

void __cdecl CleanNothing() {}

void __cdecl CleanTemp() {
  Guarded([] {
    if (!g_state.tempActive) return;
    SetCleaned(g_items[kTempItem], CleanTempFolder(g_tempSeen, g_state.settings.delSubfolders,
                                                   g_state.settings.delReadonly));
  });
}

void __cdecl CleanCache() {
  Guarded([] {
    SetCleaned(g_items[kCacheItem], CleanCacheFiles(g_state.cache, g_state.settings.delOffline));
  });
}

void __cdecl CleanCookiesItem() {
  Guarded([] {
    CookieProtection protection;
    // With protection on but no list in memory (it could not be loaded) every cookie is
    // kept: deleting them as if protection were off would lose what the user protects.
    protection.on = g_state.settings.cookieFilterOn;
    protection.block = BlockNames(g_state.protectedList);
    protection.daysToKeep = g_state.settings.daysToKeep;
    SetCleaned(g_items[kCookiesItem], CleanCookies(g_state.cache, protection));
  });
}

void __cdecl CleanHistoryItem() {
  Guarded([] { SetCleaned(g_items[kHistoryItem], CleanHistory(g_state.cache, g_state.history)); });
}

void __cdecl ConfigureTemp() { Guarded([] { OpenSettingsDialog(0); }); }
void __cdecl ConfigureCache() { Guarded([] { OpenSettingsDialog(1); }); }
void __cdecl ConfigureCookies() { Guarded([] { OpenSettingsDialog(2); }); }

void SetUpTemp() {
  DLLItem& item = g_items[kTempItem];
  std::memset(&item, 0, sizeof item);
  item.CleanProc = CleanNothing;
  g_state.tempActive = false;
  g_tempSeen.Clear();
  Guarded([&] {
    TempSetUp setUp = SetUpTempItem();
    if (!setUp.active) return;
    g_tempSeen = std::move(setUp.seen);
    SetFound(item, setUp.found);
    CopyText(item.title, sizeof item.title, kTempTitle);
    CopyText(item.description, sizeof item.description, setUp.description.c_str());
    item.icon = SmallIcon(IDI_TEMP);
    item.CleanProc = CleanTemp;
    item.ConfigProc = ConfigureTemp;
    g_state.tempActive = true;
  });
}

void FillItem(DLLItem& item, const char* title, const char* description, int icon,
              CleanProcFn clean, ConfigProcFn configure) {
  CopyText(item.title, sizeof item.title, title);
  CopyText(item.description, sizeof item.description, description);
  item.icon = SmallIcon(icon);
  item.CleanProc = clean;
  item.ConfigProc = configure;
}

void Attach(HMODULE module) {
  g_state.module = module;
  const HRESULT com = CoInitialize(nullptr);
  // Only a successful call (S_FALSE included) is undone at detach.
  g_state.comInitialized = SUCCEEDED(com);
  g_state.wininet = LoadCacheFunctions(g_state.cache);
  Guarded([] {
    g_state.settingsFile = SettingsFilePath();
    g_state.settings = ReadSettings(g_state.settingsFile);
    if (g_state.settings.cookieFilterOn) {
      g_state.protectedList = LoadProtectedList(g_state.settingsFile, ReportProblem);
    }
  });
}

void Detach(bool processEnding) {
  g_state.protectedList.reset();
  // When the process ends, the other libraries may already be gone: calling into them
  // then could crash, and the system reclaims everything anyway.
  if (processEnding) return;
  for (DLLItem& item : g_items) {
    if (item.icon) DestroyIcon(item.icon);
    item.icon = nullptr;
  }
  if (g_state.history) g_state.history->Release();
  g_state.history = nullptr;
  if (g_state.comInitialized) CoUninitialize();
  g_state.comInitialized = false;
  if (g_state.wininet) FreeLibrary(g_state.wininet);
  g_state.wininet = nullptr;
  g_state.cache = CacheFunctions();
}

}  // namespace

PluginState& State() { return g_state; }

void EnsureProtectedList() {
  if (!g_state.protectedList) g_state.protectedList = LoadProtectedList(g_state.settingsFile, ReportProblem);
}

}  // namespace orvane

using namespace orvane;

extern "C" DLLInfo* __cdecl GetDLLInfo() {
  SetUpTemp();

  for (int i = kCacheItem; i < kItemCount; ++i) std::memset(&g_items[i], 0, sizeof g_items[i]);
  if (!g_state.history) {
    CoCreateInstance(CLSID_CUrlHistory, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                     IID_IUrlHistoryStg2, reinterpret_cast<void**>(&g_state.history));
  }
  if (g_state.cache.CanCount()) {
    Guarded([] {
      const CacheCounts counts = CountCache(g_state.cache);
      SetFound(g_items[kCacheItem], counts.ordinary);
      SetFound(g_items[kCookiesItem], counts.cookies);
      SetFound(g_items[kHistoryItem], counts.history);
    });
  }
  FillItem(g_items[kCacheItem], kCacheTitle, kCacheDescription, IDI_CACHE, CleanCache,
           ConfigureCache);
  FillItem(g_items[kCookiesItem], kCookiesTitle, kCookiesDescription, IDI_COOKIES,
           CleanCookiesItem, ConfigureCookies);
  FillItem(g_items[kHistoryItem], kHistoryTitle, kHistoryDescription, IDI_HISTORY,
           CleanHistoryItem, nullptr);

  g_info.module = g_state.module;
  g_info.itemCount = kItemCount;
  g_info.items = g_table;
  return &g_info;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(instance);
    Attach(instance);
  } else if (reason == DLL_PROCESS_DETACH) {
    Detach(reserved != nullptr);
  }
  return TRUE;
}
