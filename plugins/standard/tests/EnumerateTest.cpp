// The cache enumeration with functions of the test's own: the newer level (which Wine only
// has as stubs), the growing buffer, the fall-back to the older functions, errors.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "plugins/standard/CacheItems.h"
#include "plugins/standard/Enumerate.h"

namespace orvane {
namespace {

struct FakeEntry {
  std::string url;
  DWORD type;
  DWORD sizeLow;
  DWORD sizeHigh;
  DWORD recordSize;  // what the record needs
};

struct FakeCache {
  std::vector<FakeEntry> entries;
  DWORD firstExError = 0;     // the newer first call fails with this
  DWORD nextError = 0;        // the next call after `failAfter` entries fails with this
  size_t failAfter = 0;
  size_t position = 0;
  int closes = 0;
  std::vector<DWORD> sizesOffered;
  std::vector<std::string> calls;
  std::vector<std::string> deleted;
  std::vector<std::string> refuse;  // entries that refuse deletion
  int freeCalls = 0;
  DWORD freePercent = 0;
};
FakeCache* g_fake = nullptr;
HANDLE const kFind = reinterpret_cast<HANDLE>(0x77);

BOOL Deliver(LPINTERNET_CACHE_ENTRY_INFOA info, LPDWORD size) {
  FakeCache& f = *g_fake;
  g_fake->sizesOffered.push_back(*size);
  if (f.nextError && f.position == f.failAfter) {
    SetLastError(f.nextError);
    return FALSE;
  }
  if (f.position >= f.entries.size()) {
    SetLastError(ERROR_NO_MORE_ITEMS);
    return FALSE;
  }
  const FakeEntry& e = f.entries[f.position];
  if (*size < e.recordSize) {
    *size = e.recordSize;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memset(info, 0, e.recordSize);
  char* url = reinterpret_cast<char*>(info) + sizeof *info;
  std::strcpy(url, e.url.c_str());
  info->dwStructSize = sizeof *info;
  info->lpszSourceUrlName = url;
  info->CacheEntryType = e.type;
  info->dwSizeLow = e.sizeLow;
  info->dwSizeHigh = e.sizeHigh;
  ++f.position;
  return TRUE;
}

HANDLE WINAPI FirstEx(LPCSTR pattern, DWORD flags, DWORD filter, GROUPID group,
                      LPINTERNET_CACHE_ENTRY_INFOA info, LPDWORD size, LPVOID attributes,
                      LPDWORD attributesSize, LPVOID) {
  g_fake->calls.push_back("firstEx");
  EXPECT_EQ(nullptr, pattern);
  EXPECT_EQ(0u, flags);
  EXPECT_EQ(0xFFFFFFFFu, filter);
  EXPECT_EQ(0, group);
  EXPECT_EQ(nullptr, attributes);
  EXPECT_EQ(nullptr, attributesSize);
  if (g_fake->firstExError) {
    SetLastError(g_fake->firstExError);
    return nullptr;
  }
  return Deliver(info, size) ? kFind : nullptr;
}
HANDLE WINAPI First(LPCSTR pattern, LPINTERNET_CACHE_ENTRY_INFOA info, LPDWORD size) {
  g_fake->calls.push_back("first");
  EXPECT_EQ(nullptr, pattern);
  return Deliver(info, size) ? kFind : nullptr;
}
BOOL WINAPI NextEx(HANDLE find, LPINTERNET_CACHE_ENTRY_INFOA info, LPDWORD size, LPVOID,
                   LPDWORD, LPVOID) {
  g_fake->calls.push_back("nextEx");
  EXPECT_EQ(kFind, find);
  return Deliver(info, size);
}
BOOL WINAPI Next(HANDLE find, LPINTERNET_CACHE_ENTRY_INFOA info, LPDWORD size) {
  g_fake->calls.push_back("next");
  EXPECT_EQ(kFind, find);
  return Deliver(info, size);
}
BOOL WINAPI Close(HANDLE find) {
  EXPECT_EQ(kFind, find);
  ++g_fake->closes;
  return TRUE;
}
BOOL WINAPI Delete(LPCSTR url) {
  for (const std::string& r : g_fake->refuse)
    if (r == url) {
      SetLastError(ERROR_SHARING_VIOLATION);
      return FALSE;
    }
  g_fake->deleted.push_back(url);
  return TRUE;
}
BOOL WINAPI FreeSpace(LPCSTR path, DWORD percent, DWORD filter) {
  EXPECT_EQ(nullptr, path);
  EXPECT_EQ(0u, filter);
  ++g_fake->freeCalls;
  g_fake->freePercent = percent;
  return TRUE;
}

class Enumerate : public ::testing::Test {
 protected:
  void SetUp() override {
    g_fake = &fake_;
    all_.findFirstEx = FirstEx;
    all_.findFirst = First;
    all_.findNextEx = NextEx;
    all_.findNext = Next;
    all_.findClose = Close;
    all_.deleteEntry = Delete;
    all_.freeSpace = FreeSpace;
    const DWORD big = sizeof(INTERNET_CACHE_ENTRY_INFOA) + 64;
    fake_.entries = {
        {"http://a/page.html", NORMAL_CACHE_ENTRY, 1000, 0, big},
        {"Cookie:me@a/", COOKIE_CACHE_ENTRY, 50, 0, big},
        {"Visited: me@http://a/", URLHISTORY_CACHE_ENTRY, 700, 0, big},
        {"http://a/huge.bin", NORMAL_CACHE_ENTRY, 5, 1, 10000},  // needs a larger buffer
        {"Cookie:me@b/", COOKIE_CACHE_ENTRY, 20, 0, big},
    };
  }
  void TearDown() override { g_fake = nullptr; }
  FakeCache fake_;
  CacheFunctions all_;
};

TEST_F(Enumerate, NewerLevelWalksAllAndGrowsTheBufferOnlyWhenAsked) {
  std::vector<std::string> seen;
  auto rule = [&](const INTERNET_CACHE_ENTRY_INFOA& entry, bool newer) {
    EXPECT_TRUE(newer);
    seen.push_back(entry.lpszSourceUrlName);
  };
  const EnumerationEnd end = EnumerateCache(all_, rule);
  EXPECT_EQ(static_cast<DWORD>(ERROR_NO_MORE_ITEMS), end.error);
  EXPECT_TRUE(end.newerLevel);
  EXPECT_EQ(std::vector<std::string>({"http://a/page.html", "Cookie:me@a/",
                                      "Visited: me@http://a/", "http://a/huge.bin",
                                      "Cookie:me@b/"}),
            seen);
  EXPECT_EQ(std::vector<DWORD>({4096, 4096, 4096, 4096, 10000, 10000, 10000}), fake_.sizesOffered);
  EXPECT_EQ(1, fake_.closes);
  EXPECT_EQ("firstEx", fake_.calls.front());
  for (size_t i = 1; i < fake_.calls.size(); ++i) EXPECT_EQ("nextEx", fake_.calls[i]);
}

TEST_F(Enumerate, CountingAtTheNewerLevelLeavesHistorySizesOut) {
  const CacheCounts counts = CountCache(all_);
  EXPECT_EQ(2, counts.ordinary.count);
  EXPECT_EQ(1000 + 5 + 4294967296LL, counts.ordinary.size);
  EXPECT_EQ(2, counts.cookies.count);
  EXPECT_EQ(70, counts.cookies.size);
  EXPECT_EQ(1, counts.history.count);
  EXPECT_EQ(0, counts.history.size);
}

TEST_F(Enumerate, BrokenNewerFunctionsGiveWayToTheOlderOnes) {
  fake_.firstExError = ERROR_FILE_NOT_FOUND;  // what Wine's stubs do
  const CacheCounts counts = CountCache(all_);
  EXPECT_EQ(std::vector<std::string>({"firstEx", "first", "next", "next", "next", "next", "next",
                                      "next"}),
            fake_.calls);
  EXPECT_EQ(1, counts.history.count);
  EXPECT_EQ(700, counts.history.size);  // the older level adds history sizes
  EXPECT_EQ(2, counts.cookies.count);
}

TEST_F(Enumerate, WithoutTheNewerFunctionsTheOlderAreUsed) {
  all_.findFirstEx = nullptr;
  all_.findNextEx = nullptr;
  int entries = 0;
  auto rule = [&](const INTERNET_CACHE_ENTRY_INFOA&, bool newer) {
    EXPECT_FALSE(newer);
    ++entries;
  };
  EXPECT_FALSE(EnumerateCache(all_, rule).newerLevel);
  EXPECT_EQ(5, entries);
  EXPECT_EQ("first", fake_.calls.front());
}

TEST_F(Enumerate, AnErrorEndsTheWalkAndClosesIt) {
  fake_.nextError = ERROR_ACCESS_DENIED;
  fake_.failAfter = 2;
  int entries = 0;
  auto rule = [&](const INTERNET_CACHE_ENTRY_INFOA&, bool) { ++entries; };
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), EnumerateCache(all_, rule).error);
  EXPECT_EQ(2, entries);
  EXPECT_EQ(1, fake_.closes);
}

TEST_F(Enumerate, AnEmptyCacheEndsNormallyWithoutFallingBack) {
  fake_.entries.clear();
  int entries = 0;
  auto rule = [&](const INTERNET_CACHE_ENTRY_INFOA&, bool) { ++entries; };
  const EnumerationEnd end = EnumerateCache(all_, rule);
  EXPECT_EQ(static_cast<DWORD>(ERROR_NO_MORE_ITEMS), end.error);
  EXPECT_EQ(std::vector<std::string>({"firstEx"}), fake_.calls);
  EXPECT_EQ(0, entries);
  EXPECT_EQ(0, fake_.closes);
}

TEST_F(Enumerate, MissingFunctionsCleanNothing) {
  const CacheFunctions none;
  EXPECT_EQ(0, CleanCacheFiles(none, true).count);
  EXPECT_EQ(0, CleanHistory(none, nullptr).count);
  EXPECT_EQ(0, CleanCookies(none, CookieProtection()).count);
  EXPECT_EQ(0, CountCache(none).ordinary.count);
  EXPECT_TRUE(fake_.calls.empty());
}

TEST_F(Enumerate, CleaningCacheFilesDeletesOnlyOrdinaryEntries) {
  fake_.refuse = {"http://a/page.html"};
  const Counters cleaned = CleanCacheFiles(all_, true);
  EXPECT_EQ(std::vector<std::string>({"http://a/huge.bin"}), fake_.deleted);
  EXPECT_EQ(1, cleaned.count);
  EXPECT_EQ(5 + 4294967296LL, cleaned.size);
  EXPECT_EQ(1, fake_.freeCalls);
  EXPECT_EQ(100u, fake_.freePercent);
}

TEST_F(Enumerate, DelOfflineOffFreesNoSpace) {
  CleanCacheFiles(all_, false);
  EXPECT_EQ(0, fake_.freeCalls);
}

TEST_F(Enumerate, CleaningHistoryCountsEntriesButNoSizes) {
  const Counters cleaned = CleanHistory(all_, nullptr);
  EXPECT_EQ(std::vector<std::string>({"Visited: me@http://a/"}), fake_.deleted);
  EXPECT_EQ(1, cleaned.count);
  EXPECT_EQ(0, cleaned.size);
}

}  // namespace
}  // namespace orvane
