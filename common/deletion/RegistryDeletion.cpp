#include "common/deletion/RegistryDeletion.h"

#include <utility>
#include <vector>

#include "common/Unique.h"

namespace deletion {

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
  if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, &longest.subkey, nullptr, nullptr,
                       &longest.value, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return Longest();
  return longest;
}

bool SubkeyAt(HKEY key, DWORD index, NameBuffer& name) {
  for (;;) {
    DWORD length = name.size();
    const LONG status = RegEnumKeyExA(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_MORE_DATA && name.Grow()) continue;
    return status == ERROR_SUCCESS;
  }
}

bool ValueAt(HKEY key, DWORD index, NameBuffer& name, DWORD& dataSize) {
  for (;;) {
    DWORD length = name.size();
    dataSize = 0;
    const LONG status = RegEnumValueA(key, index, name.data(), &length, nullptr, nullptr, nullptr, &dataSize);
    if (status == ERROR_MORE_DATA && name.Grow()) continue;
    return status == ERROR_SUCCESS;
  }
}

// Opens a key as the object its name names: a link is opened as the link itself, never
// as the key it points to.
win::UniqueKey OpenAsIs(HKEY parent, const char* name, REGSAM access) {
  win::UniqueKey key;
  if (RegOpenKeyExA(parent, name, REG_OPTION_OPEN_LINK, access, key.put()) != ERROR_SUCCESS) key.reset();
  return key;
}

std::string ChildPath(const std::string& parent, const char* name) {
  return parent.empty() ? std::string(name) : parent + "\\" + name;
}

// One level of the walk: the open key, its path below the named key, where the
// enumeration of its subkeys stands, and how the key is named in its parent (for the
// deletion on systems without NtDeleteKey).
struct Level {
  Level(win::UniqueKey k, std::string p, HKEY parentKey, std::string nameInParent)
      : key(std::move(k)), path(std::move(p)), parent(parentKey), name(std::move(nameInParent)),
        subkey(LongestNames(key.get()).subkey) {}
  win::UniqueKey key;
  std::string path;
  HKEY parent;
  std::string name;
  DWORD index = 0;
  NameBuffer subkey;
};

using NtDeleteKeyFn = LONG(WINAPI*)(HANDLE);

NtDeleteKeyFn NtDeleteKeyEntry() {
  static const NtDeleteKeyFn entry = [] {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll ? reinterpret_cast<NtDeleteKeyFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtDeleteKey")))
                 : nullptr;
  }();
  return entry;
}

// Deletes the key that `level` holds open, and only when it is empty now: a value or a
// subkey that came while it was emptied keeps it. Deleting through the open handle removes
// exactly the key that was walked, even if its name in the parent now names another key.
bool DeleteEmptyKey(const Level& level) {
  DWORD subkeys = 1, values = 1;
  if (RegQueryInfoKeyA(level.key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                       nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
      subkeys != 0 || values != 0)
    return false;
  if (NtDeleteKeyEntry()) return NtDeleteKeyEntry()(level.key.get()) >= 0;
  // Systems without NtDeleteKey have no registry links either.
  return RegDeleteKeyA(level.parent, level.name.c_str()) == ERROR_SUCCESS;
}

bool Counted(const RegistrySnapshot* snapshot, const std::string& path) {
  return !snapshot || snapshot->keys.count(path) != 0;
}

bool CountedValue(const RegistrySnapshot* snapshot, const std::string& path, const char* name, DWORD size) {
  if (!snapshot) return true;
  const auto key = snapshot->keys.find(path);
  if (key == snapshot->keys.end()) return false;
  const auto value = key->second.find(name);
  return value != key->second.end() && value->second == size;
}

}  // namespace

bool IsRegistryLink(HKEY key) {
  DWORD type = REG_NONE;
  return RegQueryValueExA(key, "SymbolicLinkValue", nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
         type == REG_LINK;
}

RegistryTally CountRegistryEntry(HKEY parent, const std::string& keyPath, const char* valueName,
                                 RegistrySnapshot* snapshot) {
  RegistryTally tally;
  win::UniqueKey named = OpenAsIs(parent, keyPath.c_str(), KEY_READ);
  if (!named || IsRegistryLink(named.get())) return tally;
  if (valueName) {
    DWORD size = 0;
    if (RegQueryValueExA(named.get(), valueName, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
      ++tally.entries;
      tally.bytes += size;
      if (snapshot) snapshot->keys[""][valueName] = size;
    }
    return tally;
  }
  std::vector<Level> levels;
  levels.emplace_back(std::move(named), std::string(), parent, keyPath);
  while (!levels.empty()) {
    Level& top = levels.back();
    if (SubkeyAt(top.key.get(), top.index, top.subkey)) {
      ++top.index;
      win::UniqueKey child = OpenAsIs(top.key.get(), top.subkey.data(), KEY_READ);
      if (!child || IsRegistryLink(child.get())) continue;  // a link is not counted through
      std::string path = ChildPath(top.path, top.subkey.data());
      std::string name = top.subkey.data();
      const HKEY parentKey = top.key.get();
      levels.emplace_back(std::move(child), std::move(path), parentKey, std::move(name));
      continue;
    }
    // Subkeys first, then the key's own values.
    std::map<std::string, DWORD>* seen = snapshot ? &snapshot->keys[top.path] : nullptr;
    NameBuffer value(LongestNames(top.key.get()).value);
    DWORD size = 0;
    for (DWORD index = 0; ValueAt(top.key.get(), index, value, size); ++index) {
      ++tally.entries;
      tally.bytes += size;
      if (seen) (*seen)[value.data()] = size;
    }
    levels.pop_back();
  }
  return tally;
}

RegistryTally DeleteRegistryEntry(HKEY parent, const std::string& keyPath, const char* valueName,
                                  const RegistrySnapshot* snapshot, bool* keyDeleted) {
  RegistryTally tally;
  if (keyDeleted) *keyDeleted = false;
  win::UniqueKey named = OpenAsIs(parent, keyPath.c_str(), KEY_ALL_ACCESS);
  if (!named || IsRegistryLink(named.get()) || !Counted(snapshot, "")) return tally;
  if (valueName) {
    DWORD size = 0;
    if (RegQueryValueExA(named.get(), valueName, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS &&
        CountedValue(snapshot, "", valueName, size) && RegDeleteValueA(named.get(), valueName) == ERROR_SUCCESS) {
      ++tally.entries;
      tally.bytes += size;
    }
    return tally;
  }
  std::vector<Level> levels;
  levels.emplace_back(std::move(named), std::string(), parent, keyPath);
  while (!levels.empty()) {
    Level& top = levels.back();
    if (SubkeyAt(top.key.get(), top.index, top.subkey)) {
      win::UniqueKey child = OpenAsIs(top.key.get(), top.subkey.data(), KEY_ALL_ACCESS);
      std::string path = ChildPath(top.path, top.subkey.data());
      // A link stays, and so does a key that the count never saw.
      if (!child || IsRegistryLink(child.get()) || !Counted(snapshot, path)) {
        ++top.index;
        continue;
      }
      std::string name = top.subkey.data();
      const HKEY parentKey = top.key.get();
      levels.emplace_back(std::move(child), std::move(path), parentKey, std::move(name));
      continue;
    }
    NameBuffer value(LongestNames(top.key.get()).value);
    DWORD size = 0;
    for (DWORD index = 0; ValueAt(top.key.get(), index, value, size);) {
      if (CountedValue(snapshot, top.path, value.data(), size) &&
          RegDeleteValueA(top.key.get(), value.data()) == ERROR_SUCCESS) {
        ++tally.entries;
        tally.bytes += size;
      } else {
        ++index;
      }
    }
    const bool deleted = DeleteEmptyKey(top);
    levels.pop_back();
    if (levels.empty()) {
      if (keyDeleted) *keyDeleted = deleted;
    } else if (!deleted) {
      ++levels.back().index;  // a deleted key lets the next one move down to its index
    }
  }
  return tally;
}

}  // namespace deletion
