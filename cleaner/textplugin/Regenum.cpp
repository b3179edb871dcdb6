#include "cleaner/textplugin/Regenum.h"

#include <vector>

#include "common/Unique.h"

namespace {

// A name buffer one character longer than the longest name the key reports. Names can
// still outgrow it (the key may change while it is walked): the buffer then grows and
// the same index is read again.
class NameBuffer {
 public:
  explicit NameBuffer(DWORD longest) : text_(longest + 1) {}
  char* data() { return text_.data(); }
  DWORD size() const { return static_cast<DWORD>(text_.size()); }
  bool Grow() {
    if (text_.size() >= kLongestName) return false;
    text_.resize(text_.size() * 2 < kLongestName ? text_.size() * 2 : kLongestName);
    return true;
  }

 private:
  static constexpr std::size_t kLongestName = 32768;
  std::vector<char> text_;
};

struct Longest {
  DWORD subkey = 0;
  DWORD value = 0;
};

Longest LongestNames(HKEY key) {
  Longest longest;
  if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, &longest.subkey, nullptr,
                       nullptr, &longest.value, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return Longest();
  return longest;
}

// The subkey at `index`; false when there is none.
bool SubkeyAt(HKEY key, DWORD index, NameBuffer& name) {
  for (;;) {
    DWORD length = name.size();
    const LONG status =
        RegEnumKeyExA(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_MORE_DATA && name.Grow()) continue;
    return status == ERROR_SUCCESS;
  }
}

// The value at `index` with its data size; false when there is none.
bool ValueAt(HKEY key, DWORD index, NameBuffer& name, DWORD& dataSize) {
  for (;;) {
    DWORD length = name.size();
    dataSize = 0;
    const LONG status =
        RegEnumValueA(key, index, name.data(), &length, nullptr, nullptr, nullptr, &dataSize);
    if (status == ERROR_MORE_DATA && name.Grow()) continue;
    return status == ERROR_SUCCESS;
  }
}

}  // namespace

HKEY HiveKey(textentries::Hive hive) {
  switch (hive) {
    case textentries::Hive::kCurrentUser: return HKEY_CURRENT_USER;
    case textentries::Hive::kLocalMachine: return HKEY_LOCAL_MACHINE;
    case textentries::Hive::kUsers: return HKEY_USERS;
    case textentries::Hive::kClassesRoot: return HKEY_CLASSES_ROOT;
  }
  return HKEY_CURRENT_USER;
}

void CountEntry(HKEY parent, const char* keyPath, const char* valueName, long long& entries,
                long long& bytes) {
  win::UniqueKey key;
  if (RegOpenKeyExA(parent, keyPath, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
  if (valueName) {
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), valueName, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
      ++entries;
      bytes += size;
    }
    return;
  }
  const Longest longest = LongestNames(key.get());
  NameBuffer subkey(longest.subkey);
  for (DWORD index = 0; SubkeyAt(key.get(), index, subkey); ++index)
    CountEntry(key.get(), subkey.data(), nullptr, entries, bytes);
  NameBuffer value(longest.value);
  DWORD size = 0;
  for (DWORD index = 0; ValueAt(key.get(), index, value, size); ++index) {
    ++entries;
    bytes += size;
  }
}

bool DeleteEntry(HKEY parent, const char* keyPath, const char* valueName, long long& entries,
                 long long& bytes) {
  win::UniqueKey key;
  if (RegOpenKeyExA(parent, keyPath, 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS) return false;
  if (valueName) {
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), valueName, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS &&
        RegDeleteValueA(key.get(), valueName) == ERROR_SUCCESS) {
      ++entries;
      bytes += size;
    }
    return false;
  }
  const Longest longest = LongestNames(key.get());
  NameBuffer subkey(longest.subkey);
  // A deleted subkey lets the next one move down to its index.
  for (DWORD index = 0; SubkeyAt(key.get(), index, subkey);) {
    if (!DeleteEntry(key.get(), subkey.data(), nullptr, entries, bytes)) ++index;
  }
  NameBuffer value(longest.value);
  DWORD size = 0;
  for (DWORD index = 0; ValueAt(key.get(), index, value, size);) {
    if (RegDeleteValueA(key.get(), value.data()) == ERROR_SUCCESS) {
      ++entries;
      bytes += size;
    } else {
      ++index;
    }
  }
  key.reset();
  return RegDeleteKeyA(parent, keyPath) == ERROR_SUCCESS;
}
