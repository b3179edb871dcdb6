// The three internet items against the real URL cache of the test prefix, through the
// functions that the plug-in loads from the system's "wininet".
#include <gtest/gtest.h>

#include <windows.h>
#include <wininet.h>
#include <urlhist.h>

#include <algorithm>

#include "plugins/standard/CacheItems.h"
#include "plugins/standard/Enumerate.h"
#include "plugins/standard/Rules.h"
#include "plugins/standard/tests/CacheFixture.h"

namespace orvane {
namespace {

using namespace cachefixture;

class CacheItems : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = LoadCacheFunctions(functions_);
    ASSERT_NE(nullptr, library_);
    Clear();
    ASSERT_TRUE(Urls().empty());
    ASSERT_TRUE(Add(kPage, NORMAL_CACHE_ENTRY, 1000));
    ASSERT_TRUE(Add(kImage, NORMAL_CACHE_ENTRY, 234));
    ASSERT_TRUE(Add(kOld, COOKIE_CACHE_ENTRY, 40));
    ASSERT_TRUE(Add(kRecent, COOKIE_CACHE_ENTRY, 30));
    ASSERT_TRUE(Add(kShop, COOKIE_CACHE_ENTRY, 20));
    ASSERT_TRUE(Add(kVisited, URLHISTORY_CACHE_ENTRY, 60));
    ASSERT_TRUE(SetLastAccess(kOld, HoursAgo(48.2)));
    ASSERT_TRUE(SetLastAccess(kRecent, HoursAgo(47)));
    ASSERT_TRUE(SetLastAccess(kShop, HoursAgo(1000)));
  }
  void TearDown() override {
    Clear();
    if (library_) FreeLibrary(library_);
  }
  static bool Has(const std::string& url) {
    const std::vector<std::string> urls = Urls();
    return std::find(urls.begin(), urls.end(), url) != urls.end();
  }
  const char* const kPage = "http://example.com/page.html";
  const char* const kImage = "http://example.com/logo.gif";
  const char* const kOld = "Cookie:me@old.example/";
  const char* const kRecent = "Cookie:me@recent.example/";
  const char* const kShop = "Cookie:me@shop.example/";
  const char* const kVisited = "Visited: me@http://example.com/";
  HMODULE library_ = nullptr;
  CacheFunctions functions_;
};

TEST_F(CacheItems, AllSevenFunctionsAreFound) {
  EXPECT_TRUE(functions_.Newer());
  EXPECT_TRUE(functions_.CanCount());
  EXPECT_NE(nullptr, functions_.findNextEx);
  EXPECT_NE(nullptr, functions_.freeSpace);
}

TEST_F(CacheItems, CountingSortsEntriesIntoTheThreeItems) {
  const CacheCounts counts = CountCache(functions_);
  EXPECT_EQ(2, counts.ordinary.count);
  EXPECT_EQ(1234, counts.ordinary.size);
  EXPECT_EQ(3, counts.cookies.count);
  EXPECT_EQ(90, counts.cookies.size);
  EXPECT_EQ(1, counts.history.count);
  // Wine's newer functions are stubs: the older ones were used, which add history sizes.
  EXPECT_EQ(60, counts.history.size);
}

TEST_F(CacheItems, CleaningCacheFilesNeverTouchesCookiesOrHistory) {
  const Counters cleaned = CleanCacheFiles(functions_, true);
  EXPECT_EQ(2, cleaned.count);
  EXPECT_EQ(1234, cleaned.size);
  EXPECT_FALSE(Has(kPage));
  EXPECT_FALSE(Has(kImage));
  EXPECT_TRUE(Has(kOld));
  EXPECT_TRUE(Has(kRecent));
  EXPECT_TRUE(Has(kShop));
  EXPECT_TRUE(Has(kVisited));
}

TEST_F(CacheItems, AnEntryThatRefusesDeletionIsNotCounted) {
  Lock lock(kPage);
  ASSERT_TRUE(lock.locked());
  const Counters cleaned = CleanCacheFiles(functions_, false);
  EXPECT_EQ(1, cleaned.count);
  EXPECT_EQ(234, cleaned.size);
  EXPECT_TRUE(Has(kPage));
}

TEST_F(CacheItems, CleaningHistoryCountsNoSize) {
  const Counters cleaned = CleanHistory(functions_, nullptr);
  EXPECT_EQ(1, cleaned.count);
  EXPECT_EQ(0, cleaned.size);
  EXPECT_FALSE(Has(kVisited));
  EXPECT_TRUE(Has(kPage));
  EXPECT_TRUE(Has(kOld));
}

TEST_F(CacheItems, ProtectionOffDeletesEveryCookie) {
  std::vector<char> block(1, '\0');
  ProtectedListBuilder(block).Add(kShop);
  CookieProtection off;
  off.block = block.data();
  off.daysToKeep = 30;
  const Counters cleaned = CleanCookies(functions_, off);
  EXPECT_EQ(3, cleaned.count);
  EXPECT_EQ(90, cleaned.size);
  EXPECT_FALSE(Has(kShop));
  EXPECT_TRUE(Has(kPage));
  EXPECT_TRUE(Has(kVisited));
}

TEST_F(CacheItems, ProtectionOnWithAnEmptyListAndNoDaysDeletesEveryCookie) {
  std::vector<char> block(1, '\0');
  CookieProtection on;
  on.on = true;
  on.block = block.data();
  EXPECT_EQ(3, CleanCookies(functions_, on).count);
}

TEST_F(CacheItems, ProtectionKeepsListedAndRecentCookies) {
  std::vector<char> block(1, '\0');
  ProtectedListBuilder(block).Add(kShop);
  CookieProtection on;
  on.on = true;
  on.block = block.data();
  on.daysToKeep = 2;
  const Counters cleaned = CleanCookies(functions_, on);
  EXPECT_EQ(1, cleaned.count);
  EXPECT_EQ(40, cleaned.size);
  EXPECT_FALSE(Has(kOld));     // 48 hours: two whole days
  EXPECT_TRUE(Has(kRecent));   // 47 hours: one whole day
  EXPECT_TRUE(Has(kShop));     // protected
}

TEST_F(CacheItems, AProtectedNameInAnotherCaseDoesNotProtect) {
  std::vector<char> block(1, '\0');
  ProtectedListBuilder(block).Add("Cookie:me@SHOP.example/");
  CookieProtection on;
  on.on = true;
  on.block = block.data();
  CleanCookies(functions_, on);
  EXPECT_FALSE(Has(kShop));
}

TEST_F(CacheItems, ProtectionOnWithoutAListInMemoryKeepsEveryCookie) {
  CookieProtection on;
  on.on = true;
  const Counters cleaned = CleanCookies(functions_, on);
  EXPECT_EQ(0, cleaned.count);
  EXPECT_TRUE(Has(kOld));
  EXPECT_TRUE(Has(kRecent));
  EXPECT_TRUE(Has(kShop));
}

// A history store that only counts the calls of ClearHistory.
class CountingHistory : public IUrlHistoryStg2 {
 public:
  int clears = 0;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE AddUrl(LPCOLESTR, LPCOLESTR, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DeleteUrl(LPCOLESTR, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryUrl(LPCOLESTR, DWORD, LPSTATURL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE BindToObject(LPCOLESTR, REFIID, void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumUrls(IEnumSTATURL**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE AddUrlAndNotify(LPCOLESTR, LPCOLESTR, DWORD, BOOL, IOleCommandTarget*,
                                            IUnknown*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ClearHistory() override {
    ++clears;
    return S_OK;
  }
};

TEST_F(CacheItems, HistoryClearsTheStoreOnlyWithTheCacheFunctions) {
  CountingHistory history;
  EXPECT_EQ(0, CleanHistory(CacheFunctions(), &history).count);  // "wininet" is missing
  EXPECT_EQ(0, history.clears);
  EXPECT_TRUE(Has(kVisited));
  EXPECT_EQ(1, CleanHistory(functions_, &history).count);
  EXPECT_EQ(1, history.clears);
}

}  // namespace
}  // namespace orvane
