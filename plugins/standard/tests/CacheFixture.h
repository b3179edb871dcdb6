// Real entries in the browser's URL cache of the test prefix: ordinary entries with a file,
// cookies ("Cookie:user@host/") and history ("Visited: user@http://host/").
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace cachefixture {

// Deletes every entry of the cache.
void Clear();
// Adds an entry of a type with a content file of `bytes` bytes; false when it failed.
bool Add(const std::string& url, DWORD type, DWORD bytes);
bool SetLastAccess(const std::string& url, const FILETIME& time);
// The present minus so many hours, as a file time.
FILETIME HoursAgo(double hours);
bool Exists(const std::string& url);
std::vector<std::string> Urls();

// Holds an entry's file open so that the entry refuses deletion, until destroyed.
class Lock {
 public:
  explicit Lock(const std::string& url);
  ~Lock();
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;
  bool locked() const { return locked_; }

 private:
  std::string url_;
  HMODULE module_ = nullptr;
  bool locked_ = false;
};

}  // namespace cachefixture
