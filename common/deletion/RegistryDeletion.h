// The registry half of the one deletion path: counting and deleting a key with everything
// below it, or one value, without ever going through a registry link. A link found inside
// the named key is left alone (not counted through, not deleted through), so a link that
// points at another key, or at its own parent, changes nothing outside the named key. The
// walk keeps its levels on the heap, not on the stack: a hostile depth cannot exhaust it.
//
// A count can keep a snapshot of what it saw; a deletion given that snapshot removes only
// values that the count saw (same name, same data size) and keys that the count saw, so a
// value or key that appeared after the count is kept.
#pragma once

#include <windows.h>

#include <map>
#include <string>

namespace deletion {

struct RegistryTally {
  long long entries = 0;  // values
  long long bytes = 0;    // their data sizes
};

// Per key below the named key ("" is the named key itself, then "sub", "sub\\deeper"):
// its values, each with its data size.
struct RegistrySnapshot {
  std::map<std::string, std::map<std::string, DWORD>> keys;
};

// Counts the named value of `keyPath`, or, when `valueName` is null, every value of the
// key and of all its subkeys. The key itself is opened as named; every subkey is opened as
// the key it is, never through a link. `snapshot`, when given, receives what was counted.
RegistryTally CountRegistryEntry(HKEY parent, const std::string& keyPath, const char* valueName,
                                 RegistrySnapshot* snapshot = nullptr);

// Deletes the named value, or the whole key (subkeys first, then the key's values, then
// the key itself once it is empty). With a snapshot, only what it holds is deleted. `keyDeleted`,
// when given, tells whether the named key itself is gone.
RegistryTally DeleteRegistryEntry(HKEY parent, const std::string& keyPath, const char* valueName,
                                  const RegistrySnapshot* snapshot = nullptr,
                                  bool* keyDeleted = nullptr);

// Whether an open key is a registry link (it holds its target in "SymbolicLinkValue").
bool IsRegistryLink(HKEY key);

}  // namespace deletion
