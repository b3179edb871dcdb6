#include "plugins/standard/tests/CacheFixture.h"

#include <wininet.h>

#include <vector>

namespace cachefixture {

namespace {

// "wininet" is loaded for each step and unloaded after it: a process that keeps it loaded
// keeps the cache's containers as they were when it started, and another process (the
// plug-in under test) that frees the cache's space removes their folders under it.
class Wininet {
 public:
  Wininet() : module_(LoadLibraryA("wininet.dll")) {}
  ~Wininet() {
    if (module_) FreeLibrary(module_);
  }
  Wininet(const Wininet&) = delete;
  Wininet& operator=(const Wininet&) = delete;
  template <typename Fn>
  Fn Get(const char* name) const {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

 private:
  HMODULE module_;
};

#define WININET_FN(lib, name) lib.Get<decltype(&::name)>(#name)

}  // namespace

std::vector<std::string> Urls() {
  Wininet lib;
  auto FindFirstUrlCacheEntryA = WININET_FN(lib, FindFirstUrlCacheEntryA);
  auto FindNextUrlCacheEntryA = WININET_FN(lib, FindNextUrlCacheEntryA);
  auto FindCloseUrlCache = WININET_FN(lib, FindCloseUrlCache);
  std::vector<std::string> urls;
  std::vector<char> buffer(4096);
  DWORD size = static_cast<DWORD>(buffer.size());
  auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
  HANDLE find = FindFirstUrlCacheEntryA(nullptr, entry, &size);
  if (!find && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
    buffer.resize(size);
    entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
    find = FindFirstUrlCacheEntryA(nullptr, entry, &size);
  }
  if (!find) return urls;
  for (;;) {
    urls.push_back(entry->lpszSourceUrlName);
    size = static_cast<DWORD>(buffer.size());
    if (FindNextUrlCacheEntryA(find, entry, &size)) continue;
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
    buffer.resize(size);
    entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
    if (!FindNextUrlCacheEntryA(find, entry, &size)) break;
  }
  FindCloseUrlCache(find);
  return urls;
}

void Clear() {
  Wininet lib;
  auto DeleteUrlCacheEntryA = WININET_FN(lib, DeleteUrlCacheEntryA);
  for (const std::string& url : Urls()) {
    if (DeleteUrlCacheEntryA) DeleteUrlCacheEntryA(url.c_str());
  }
}

bool Add(const std::string& url, DWORD type, DWORD bytes) {
  Wininet lib;
  auto CreateUrlCacheEntryA = WININET_FN(lib, CreateUrlCacheEntryA);
  auto CommitUrlCacheEntryA = WININET_FN(lib, CommitUrlCacheEntryA);
  char file[MAX_PATH] = "";
  if (!CreateUrlCacheEntryA(url.c_str(), bytes, "txt", file, 0)) return false;
  HANDLE out = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  const std::string content(bytes, 'x');
  DWORD written = 0;
  WriteFile(out, content.data(), bytes, &written, nullptr);
  CloseHandle(out);
  FILETIME zero{};
  return CommitUrlCacheEntryA(url.c_str(), file, zero, zero, type, nullptr, 0, "txt",
                              nullptr) != FALSE;
}

bool SetLastAccess(const std::string& url, const FILETIME& time) {
  Wininet lib;
  auto SetUrlCacheEntryInfoA = WININET_FN(lib, SetUrlCacheEntryInfoA);
  INTERNET_CACHE_ENTRY_INFOA info{};
  info.dwStructSize = sizeof info;
  info.LastAccessTime = time;
  return SetUrlCacheEntryInfoA(url.c_str(), &info, CACHE_ENTRY_ACCTIME_FC) != FALSE;
}

FILETIME HoursAgo(double hours) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER value;
  value.LowPart = now.dwLowDateTime;
  value.HighPart = now.dwHighDateTime;
  value.QuadPart -= static_cast<unsigned long long>(hours * 3600.0 * 10000000.0);
  FILETIME result;
  result.dwLowDateTime = value.LowPart;
  result.dwHighDateTime = value.HighPart;
  return result;
}

bool Exists(const std::string& url) {
  Wininet lib;
  auto GetUrlCacheEntryInfoA = WININET_FN(lib, GetUrlCacheEntryInfoA);
  std::vector<char> buffer(4096);
  DWORD size = static_cast<DWORD>(buffer.size());
  if (GetUrlCacheEntryInfoA(url.c_str(),
                            reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data()), &size)) {
    return true;
  }
  return GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

Lock::Lock(const std::string& url) : url_(url) {
  module_ = LoadLibraryA("wininet.dll");
  auto RetrieveUrlCacheEntryFileA = reinterpret_cast<decltype(&::RetrieveUrlCacheEntryFileA)>(
      reinterpret_cast<void*>(GetProcAddress(module_, "RetrieveUrlCacheEntryFileA")));
  if (!RetrieveUrlCacheEntryFileA) return;
  std::vector<char> buffer(4096);
  DWORD size = static_cast<DWORD>(buffer.size());
  locked_ = RetrieveUrlCacheEntryFileA(
                url.c_str(), reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data()), &size,
                0) != FALSE;
}

Lock::~Lock() {
  auto UnlockUrlCacheEntryFileA = reinterpret_cast<decltype(&::UnlockUrlCacheEntryFileA)>(
      reinterpret_cast<void*>(GetProcAddress(module_, "UnlockUrlCacheEntryFileA")));
  if (locked_ && UnlockUrlCacheEntryFileA) UnlockUrlCacheEntryFileA(url_.c_str(), 0);
  if (module_) FreeLibrary(module_);
}

}  // namespace cachefixture
