#include "plugins/standard/CacheItems.h"

#include <urlhist.h>

namespace orvane {

namespace {

unsigned long long FileTimeValue(const FILETIME& time) {
  return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

bool DeleteEntry(const CacheFunctions& functions, const INTERNET_CACHE_ENTRY_INFOA& entry) {
  return functions.deleteEntry && entry.lpszSourceUrlName &&
         functions.deleteEntry(entry.lpszSourceUrlName);
}

}  // namespace

CacheCounts CountCache(const CacheFunctions& functions) {
  CacheCounts counts;
  auto rule = [&](const INTERNET_CACHE_ENTRY_INFOA& entry, bool newerLevel) {
    CountCacheEntry(counts, entry.CacheEntryType, EntrySize(entry), newerLevel);
  };
  EnumerateCache(functions, rule);
  return counts;
}

Counters CleanCacheFiles(const CacheFunctions& functions, bool delOffline) {
  Counters cleaned;
  auto rule = [&](const INTERNET_CACHE_ENTRY_INFOA& entry, bool) {
    if (KindOf(entry.CacheEntryType) != CacheKind::Ordinary) return;
    if (!DeleteEntry(functions, entry)) return;
    cleaned.count += 1;
    cleaned.size += EntrySize(entry);
  };
  EnumerateCache(functions, rule);
  if (functions.freeSpace && delOffline) functions.freeSpace(nullptr, 100, 0);
  return cleaned;
}

Counters CleanHistory(const CacheFunctions& functions, IUrlHistoryStg2* history) {
  Counters cleaned;
  // Without "wininet" the internet items do nothing at all, the history store included.
  if (!functions.Loaded()) return cleaned;
  auto rule = [&](const INTERNET_CACHE_ENTRY_INFOA& entry, bool) {
    if (KindOf(entry.CacheEntryType) != CacheKind::History) return;
    if (DeleteEntry(functions, entry)) cleaned.count += 1;
  };
  EnumerateCache(functions, rule);
  if (history) history->ClearHistory();
  return cleaned;
}

Counters CleanCookies(const CacheFunctions& functions, const CookieProtection& protection) {
  Counters cleaned;
  // Protection is on but its list could not be loaded: which cookies the user keeps is
  // unknown, so every cookie stays.
  if (protection.on && !protection.block) return cleaned;
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const unsigned long long nowValue = FileTimeValue(now);
  auto rule = [&](const INTERNET_CACHE_ENTRY_INFOA& entry, bool) {
    if (KindOf(entry.CacheEntryType) != CacheKind::Cookie) return;
    if (protection.on &&
        !MayDelete(protection.block, entry.lpszSourceUrlName, protection.daysToKeep, nowValue,
                   FileTimeValue(entry.LastAccessTime))) {
      return;
    }
    if (!DeleteEntry(functions, entry)) return;
    cleaned.count += 1;
    cleaned.size += EntrySize(entry);
  };
  EnumerateCache(functions, rule);
  return cleaned;
}

}  // namespace orvane
