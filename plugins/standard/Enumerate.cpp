#include "plugins/standard/Enumerate.h"

#include <cstdlib>
#include <cstring>

#include "plugins/standard/Rules.h"

namespace orvane {

namespace {

constexpr DWORD kStartBufferSize = 4096;

template <typename Fn>
Fn Lookup(HMODULE library, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// One record buffer that grows only when the cache asks for more.
class EntryBuffer {
 public:
  ~EntryBuffer() { std::free(data_); }
  bool Reserve(DWORD size) {
    if (size <= capacity_) return true;
    void* grown = std::malloc(size);
    if (!grown) return false;
    std::free(data_);
    data_ = grown;
    capacity_ = size;
    return true;
  }
  INTERNET_CACHE_ENTRY_INFOA* entry() { return static_cast<INTERNET_CACHE_ENTRY_INFOA*>(data_); }
  DWORD capacity() const { return capacity_; }

 private:
  void* data_ = nullptr;
  DWORD capacity_ = 0;
};

// Calls `fetch(entry, &size)` until it succeeds or fails for another reason than a short
// buffer; the buffer grows to the size the call reports. Returns 0 on success, else the error.
template <typename Fetch>
DWORD FetchGrowing(EntryBuffer& buffer, Fetch fetch) {
  if (!buffer.Reserve(kStartBufferSize)) return ERROR_NOT_ENOUGH_MEMORY;
  for (;;) {
    DWORD size = buffer.capacity();
    buffer.entry()->dwStructSize = sizeof(INTERNET_CACHE_ENTRY_INFOA);
    if (fetch(buffer.entry(), &size)) return 0;
    const DWORD error = GetLastError();
    if (error != ERROR_INSUFFICIENT_BUFFER) return error ? error : ERROR_GEN_FAILURE;
    // A reported size that is no larger would ask for the same call again forever.
    if (size <= buffer.capacity() || !buffer.Reserve(size)) return ERROR_NOT_ENOUGH_MEMORY;
  }
}

struct Level {
  bool newer;
  HANDLE First(const CacheFunctions& f, INTERNET_CACHE_ENTRY_INFOA* entry, DWORD* size) const {
    if (newer) {
      return f.findFirstEx(nullptr, 0, 0xFFFFFFFF, 0, entry, size, nullptr, nullptr, nullptr);
    }
    return f.findFirst(nullptr, entry, size);
  }
  BOOL Next(const CacheFunctions& f, HANDLE find, INTERNET_CACHE_ENTRY_INFOA* entry,
            DWORD* size) const {
    if (newer) return f.findNextEx(find, entry, size, nullptr, nullptr, nullptr);
    return f.findNext(find, entry, size);
  }
  bool Usable(const CacheFunctions& f) const {
    return newer ? (f.findFirstEx && f.findNextEx) : (f.findFirst && f.findNext);
  }
};

}  // namespace

HMODULE LoadCacheFunctions(CacheFunctions& functions) {
  functions = CacheFunctions();
  char path[kPathSize];
  const UINT length = GetSystemDirectoryA(path, kPathSize);
  if (length == 0 || length >= kPathSize || !WriteAt(path, length, "\\wininet.dll", "")) {
    return nullptr;
  }
  HMODULE library = LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!library) return nullptr;
  functions.findFirstEx = Lookup<FindFirstExFn>(library, "FindFirstUrlCacheEntryExA");
  functions.findFirst = Lookup<FindFirstFn>(library, "FindFirstUrlCacheEntryA");
  functions.findNextEx = Lookup<FindNextExFn>(library, "FindNextUrlCacheEntryExA");
  functions.findNext = Lookup<FindNextFn>(library, "FindNextUrlCacheEntryA");
  functions.findClose = Lookup<FindCloseFn>(library, "FindCloseUrlCache");
  functions.deleteEntry = Lookup<DeleteEntryFn>(library, "DeleteUrlCacheEntry");
  functions.freeSpace = Lookup<FreeSpaceFn>(library, "FreeUrlCacheSpaceA");
  return library;
}

EnumerationEnd EnumerateCache(const CacheFunctions& functions, CacheRule rule, void* context) {
  EnumerationEnd end;
  Level level{functions.Newer()};
  if (!level.Usable(functions)) level.newer = !level.newer;
  if (!level.Usable(functions) || !functions.findClose) {
    end.error = ERROR_PROC_NOT_FOUND;
    return end;
  }
  EntryBuffer buffer;
  HANDLE find = nullptr;
  DWORD error = FetchGrowing(buffer, [&](INTERNET_CACHE_ENTRY_INFOA* entry, DWORD* size) {
    find = level.First(functions, entry, size);
    return find != nullptr;
  });
  if (error != 0 && error != ERROR_NO_MORE_ITEMS && error != ERROR_NOT_ENOUGH_MEMORY &&
      level.newer && Level{false}.Usable(functions)) {
    level.newer = false;
    error = FetchGrowing(buffer, [&](INTERNET_CACHE_ENTRY_INFOA* entry, DWORD* size) {
      find = level.First(functions, entry, size);
      return find != nullptr;
    });
  }
  end.newerLevel = level.newer;
  while (error == 0) {
    rule(context, *buffer.entry(), level.newer);
    error = FetchGrowing(buffer, [&](INTERNET_CACHE_ENTRY_INFOA* entry, DWORD* size) {
      return level.Next(functions, find, entry, size) != FALSE;
    });
  }
  if (find) functions.findClose(find);
  end.error = error;
  return end;
}

}  // namespace orvane
