#include "plugins/standard/tests/CacheFixture.h"

#include <wininet.h>

#include <vector>

namespace cachefixture {

std::vector<std::string> Urls() {
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
  for (const std::string& url : Urls()) DeleteUrlCacheEntryA(url.c_str());
}

bool Add(const std::string& url, DWORD type, DWORD bytes) {
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
  std::vector<char> buffer(4096);
  DWORD size = static_cast<DWORD>(buffer.size());
  if (GetUrlCacheEntryInfoA(url.c_str(),
                            reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data()), &size)) {
    return true;
  }
  return GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

Lock::Lock(const std::string& url) : url_(url) {
  std::vector<char> buffer(4096);
  DWORD size = static_cast<DWORD>(buffer.size());
  locked_ = RetrieveUrlCacheEntryFileA(
                url.c_str(), reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data()), &size,
                0) != FALSE;
}

Lock::~Lock() {
  if (locked_) UnlockUrlCacheEntryFileA(url_.c_str(), 0);
}

}  // namespace cachefixture
