/* A plug-in written in plain C from the shared records alone, as a third party would. */
#include <string.h>

#include "cleaner/plugin-api/PluginApi.h"

static DLLItem item;
static DLLItem* table[1] = {&item};
static DLLInfo info;

static void __cdecl CleanItem(void) {
  item.sizeCleaned = 1024;
  item.countCleaned = 1;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) info.module = instance;
  return TRUE;
}

DLLInfo* __cdecl GetDLLInfo(void) {
  strcpy(item.title, "Plain C");
  strcpy(item.description, "An item of a plug-in written in C.");
  item.sizeFound = 3072;
  item.countFound = 3;
  item.CleanProc = CleanItem;
  info.itemCount = 1;
  info.items = table;
  return &info;
}
