// Counting the URL cache into the three internet items, and cleaning each of them.
#pragma once

#include "plugins/standard/Enumerate.h"
#include "plugins/standard/Rules.h"

struct IUrlHistoryStg2;

namespace orvane {

CacheCounts CountCache(const CacheFunctions& functions);

// "Temporary Internet Files": every entry that is neither a cookie nor history; then, with
// `delOffline`, asks the cache to free all the space it can.
Counters CleanCacheFiles(const CacheFunctions& functions, bool delOffline);

// "Internet History": every history entry (sizes are not counted), then the history store;
// nothing at all when none of the cache functions was found ("wininet" is missing).
Counters CleanHistory(const CacheFunctions& functions, IUrlHistoryStg2* history);

struct CookieProtection {
  bool on = false;
  const char* block = nullptr;  // the protected list; null holds nothing
  int daysToKeep = 0;
};
// "Internet Cookies": every cookie entry, or with protection on those that May delete lets
// go. With protection on and no list in memory every cookie is kept.
Counters CleanCookies(const CacheFunctions& functions, const CookieProtection& protection);

}  // namespace orvane
