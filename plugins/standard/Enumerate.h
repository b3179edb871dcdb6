// The browser's URL cache as the standard plug-in walks it: the seven functions of
// "wininet", looked up by name, and one enumeration that hands every entry to a rule.
// Tests put functions of their own into CacheFunctions.
#pragma once

#include <windows.h>
#include <wininet.h>

namespace orvane {

using FindFirstExFn = HANDLE(WINAPI*)(LPCSTR, DWORD, DWORD, GROUPID,
                                      LPINTERNET_CACHE_ENTRY_INFOA, LPDWORD, LPVOID, LPDWORD,
                                      LPVOID);
using FindFirstFn = HANDLE(WINAPI*)(LPCSTR, LPINTERNET_CACHE_ENTRY_INFOA, LPDWORD);
using FindNextExFn = BOOL(WINAPI*)(HANDLE, LPINTERNET_CACHE_ENTRY_INFOA, LPDWORD, LPVOID,
                                   LPDWORD, LPVOID);
using FindNextFn = BOOL(WINAPI*)(HANDLE, LPINTERNET_CACHE_ENTRY_INFOA, LPDWORD);
using FindCloseFn = BOOL(WINAPI*)(HANDLE);
using DeleteEntryFn = BOOL(WINAPI*)(LPCSTR);
using FreeSpaceFn = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD);

// Any of them may be missing (null).
struct CacheFunctions {
  FindFirstExFn findFirstEx = nullptr;
  FindFirstFn findFirst = nullptr;
  FindNextExFn findNextEx = nullptr;
  FindNextFn findNext = nullptr;
  FindCloseFn findClose = nullptr;
  DeleteEntryFn deleteEntry = nullptr;
  FreeSpaceFn freeSpace = nullptr;

  // The newer interface level: FindFirstUrlCacheEntryExA exists.
  bool Newer() const { return findFirstEx != nullptr; }
  // Whether any function was found: false when "wininet" is missing.
  bool Loaded() const {
    return findFirstEx || findFirst || findNextEx || findNext || findClose || deleteEntry || freeSpace;
  }
  // The four functions without which the cache is not counted.
  bool CanCount() const { return deleteEntry && findFirst && findClose && findNext; }
};

// Loads "wininet" from the system folder only, so that a file of that name beside the
// host or in the current folder is never loaded in its stead, and looks up the seven
// functions. Returns the library (null when it cannot be loaded).
HMODULE LoadCacheFunctions(CacheFunctions& functions);

// Called for every entry; `newerLevel` tells which functions delivered it.
using CacheRule = void (*)(void* context, const INTERNET_CACHE_ENTRY_INFOA& entry,
                           bool newerLevel);

struct EnumerationEnd {
  DWORD error = ERROR_NO_MORE_ITEMS;  // the error that ended it; ERROR_NO_MORE_ITEMS is normal
  bool newerLevel = false;            // which functions were used
};

// Walks every cache entry with the functions of the current level, each entry handled
// (and possibly deleted) before the next is fetched. A record that needs more than the
// 4096-byte buffer gets a buffer of the size the cache reports. Where the newer functions
// exist but their first call fails for another reason than a short buffer or an empty
// cache (Wine's are stubs failing with error 2), the older functions are used instead.
EnumerationEnd EnumerateCache(const CacheFunctions& functions, CacheRule rule, void* context);

template <typename Rule>
EnumerationEnd EnumerateCache(const CacheFunctions& functions, Rule& rule) {
  return EnumerateCache(
      functions,
      [](void* context, const INTERNET_CACHE_ENTRY_INFOA& entry, bool newerLevel) {
        (*static_cast<Rule*>(context))(entry, newerLevel);
      },
      &rule);
}

inline long long EntrySize(const INTERNET_CACHE_ENTRY_INFOA& entry) {
  return static_cast<long long>((static_cast<unsigned long long>(entry.dwSizeHigh) << 32) |
                                entry.dwSizeLow);
}

}  // namespace orvane
