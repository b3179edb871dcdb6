/* The records through which a binary cleaning plug-in (.vkp) describes its items to the
   host. Shared with every plug-in, so plain C: a plug-in may be written in any language
   that can lay out these records.

   A plug-in exports, under the exact name "_GetDLLInfo", a function without arguments in
   the C calling convention that returns the address of its DLLInfo (or null to offer
   nothing). The records stay at the same addresses until the host unloads the library. */
#ifndef VARNICK_PLUGIN_API_H
#define VARNICK_PLUGIN_API_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void(__cdecl* CleanProcFn)(void);
typedef void(__cdecl* ConfigProcFn)(void);

#define DLLITEM_TITLE_SIZE 50
#define DLLITEM_DESCRIPTION_SIZE 258

#pragma pack(push, 4)

typedef struct DLLItem {
  char title[DLLITEM_TITLE_SIZE];             /* at most 49 characters */
  char description[DLLITEM_DESCRIPTION_SIZE]; /* at most 257 characters */
  long long sizeFound;
  long long countFound;
  long long sizeCleaned;
  long long countCleaned;
  HICON icon;              /* 16 x 16, or 0 */
  CleanProcFn CleanProc;   /* never 0 */
  ConfigProcFn ConfigProc; /* 0 when the item has no settings */
} DLLItem;

typedef struct DLLInfo {
  HMODULE module;       /* the plug-in's own module; the host unloads it through this */
  int itemCount;        /* entries in items; 0 offers nothing */
  DLLItem** items;      /* itemCount addresses, one per item */
  struct DLLInfo* next; /* owned by the host: the plug-in reserves it and never touches it */
} DLLInfo;

#pragma pack(pop)

typedef DLLInfo*(__cdecl* GetDLLInfoFn)(void);

#define DLLINFO_EXPORT_NAME "_GetDLLInfo"

#ifdef __cplusplus
}
#endif

/* The layout is binding for 32-bit plug-ins; a 64-bit build (used only to test the host
   where 32-bit programs cannot run) keeps the order with wider handles. */
#if defined(__cplusplus) && !defined(_WIN64)
#include <cstddef>
static_assert(sizeof(DLLInfo) == 16, "DLLInfo is 16 bytes");
static_assert(offsetof(DLLInfo, module) == 0, "DLLInfo.module");
static_assert(offsetof(DLLInfo, itemCount) == 4, "DLLInfo.itemCount");
static_assert(offsetof(DLLInfo, items) == 8, "DLLInfo.items");
static_assert(offsetof(DLLInfo, next) == 12, "DLLInfo.next");
static_assert(sizeof(DLLItem) == 352, "DLLItem is 352 bytes");
static_assert(offsetof(DLLItem, title) == 0, "DLLItem.title");
static_assert(offsetof(DLLItem, description) == 50, "DLLItem.description");
static_assert(offsetof(DLLItem, sizeFound) == 308, "DLLItem.sizeFound");
static_assert(offsetof(DLLItem, countFound) == 316, "DLLItem.countFound");
static_assert(offsetof(DLLItem, sizeCleaned) == 324, "DLLItem.sizeCleaned");
static_assert(offsetof(DLLItem, countCleaned) == 332, "DLLItem.countCleaned");
static_assert(offsetof(DLLItem, icon) == 340, "DLLItem.icon");
static_assert(offsetof(DLLItem, CleanProc) == 344, "DLLItem.CleanProc");
static_assert(offsetof(DLLItem, ConfigProc) == 348, "DLLItem.ConfigProc");
#endif

#endif
