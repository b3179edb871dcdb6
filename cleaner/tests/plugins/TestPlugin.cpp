// A binary plug-in for the host's tests. Which items it offers is chosen at build time;
// every call and the unload are appended to "calls.log" beside the library, so that tests
// see what the host called and in which order.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "cleaner/plugin-api/PluginApi.h"

namespace {

#if defined(PLUGIN_ITEMS)
const char* const kName = "items";
struct Def { const char* title; long long size; long long count; bool configurable; };
const Def kDefs[] = {{"Alpha", 2048, 2, false}, {"Beta", 0, 0, false}, {"Zero", 5000, 0, false},
                     {"One", 1, 1, true}};
#elif defined(PLUGIN_MORE)
const char* const kName = "more";
struct Def { const char* title; long long size; long long count; bool configurable; };
const Def kDefs[] = {{"Gamma", 10485760, 3, false}};
#elif defined(PLUGIN_BIG)
const char* const kName = "big";
struct Def { const char* title; long long size; long long count; bool configurable; };
const Def kDefs[] = {{"Huge", 5368709120LL, 5000000000LL, false}};
#elif defined(PLUGIN_EMPTY)
const char* const kName = "empty";
struct Def { const char* title; long long size; long long count; bool configurable; };
const Def* const kDefs = nullptr;
#elif defined(PLUGIN_NULL)
const char* const kName = "null";
struct Def { const char* title; long long size; long long count; bool configurable; };
const Def* const kDefs = nullptr;
#endif

#if defined(PLUGIN_EMPTY) || defined(PLUGIN_NULL)
constexpr int kCount = 0;
#else
constexpr int kCount = sizeof kDefs / sizeof kDefs[0];
#endif

HMODULE g_module = nullptr;
[[maybe_unused]] DLLItem g_items[kCount > 0 ? kCount : 1];
[[maybe_unused]] DLLItem* g_table[kCount > 0 ? kCount : 1];
[[maybe_unused]] DLLInfo g_info;

// A file beside the library; false when the path does not fit.
bool BesideLibrary(const char* name, char (&path)[MAX_PATH]) {
  const DWORD n = GetModuleFileNameA(g_module, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return false;
  char* slash = std::strrchr(path, '\\');
  if (!slash || (slash - path) + 1 + std::strlen(name) >= MAX_PATH) return false;
  std::strcpy(slash + 1, name);
  return true;
}

void Log(const char* what, const char* title = nullptr) {
  char path[MAX_PATH];
  if (!BesideLibrary("calls.log", path)) return;
  HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  char line[200];
  const int length = std::snprintf(line, sizeof line, "%s %s%s%s\r\n", kName, what,
                                   title ? " " : "", title ? title : "");
  DWORD written = 0;
  WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
  CloseHandle(file);
}

// With a file "slow-clean" beside it, every item takes 1.5 seconds to clean.
void CleanSlowlyWhenAsked() {
  char path[MAX_PATH];
  if (BesideLibrary("slow-clean", path) && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) Sleep(1500);
}

template <int I>
void __cdecl CleanItem() {
  CleanSlowlyWhenAsked();
  g_items[I].sizeCleaned = g_items[I].sizeFound;
  g_items[I].countCleaned = g_items[I].countFound;
  Log("clean", g_items[I].title);
}

template <int I>
void __cdecl ConfigureItem() {
  Log("configure", g_items[I].title);
}

CleanProcFn const kCleanProcs[] = {CleanItem<0>, CleanItem<1>, CleanItem<2>, CleanItem<3>};
ConfigProcFn const kConfigProcs[] = {ConfigureItem<0>, ConfigureItem<1>, ConfigureItem<2>,
                                     ConfigureItem<3>};

}  // namespace

extern "C" DLLInfo* __cdecl GetDLLInfo() {
  Log("load");
#if defined(PLUGIN_NULL)
  return nullptr;
#else
  g_info.module = g_module;
  g_info.itemCount = kCount;
  g_info.items = g_table;
  g_info.next = reinterpret_cast<DLLInfo*>(0x1);  // the host must overwrite it
  for (int i = 0; i < kCount; ++i) {
#if !defined(PLUGIN_EMPTY)
    DLLItem& item = g_items[i];
    std::memset(&item, 0, sizeof item);
    std::strncpy(item.title, kDefs[i].title, sizeof item.title - 1);
    std::snprintf(item.description, sizeof item.description, "Description of %s.", kDefs[i].title);
    item.sizeFound = kDefs[i].size;
    item.countFound = kDefs[i].count;
    item.CleanProc = kCleanProcs[i];
    item.ConfigProc = kDefs[i].configurable ? kConfigProcs[i] : nullptr;
    g_table[i] = &item;
#endif
  }
  return &g_info;
#endif
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
  } else if (reason == DLL_PROCESS_DETACH) {
    Log("unload");
  }
  return TRUE;
}
