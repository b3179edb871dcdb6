// The registry side of text plug-ins: counting and deleting one key (with everything
// below it) or one value, through the one deletion path (common/deletion).
#pragma once

#include <windows.h>

#include "cleaner/textplugin/TextEntries.h"
#include "common/deletion/RegistryDeletion.h"

// The predefined key of a hive.
HKEY HiveKey(textentries::Hive hive);

// Adds to `entries` and `bytes` what the entry holds: the one value named by `valueName`,
// or, when it is null, every value of the key and of all its subkeys; links inside the key
// are not counted through. A key that cannot be opened adds nothing. `snapshot`, when
// given, receives what was counted.
void CountEntry(HKEY parent, const char* keyPath, const char* valueName, long long& entries,
                long long& bytes, deletion::RegistrySnapshot* snapshot = nullptr);

// Deletes the value, or the whole key: subkeys first, then the key's values, then the key
// itself; never through a link. With a snapshot, only what the count saw. Adds the values
// deleted. Returns whether the key itself was deleted.
bool DeleteEntry(HKEY parent, const char* keyPath, const char* valueName, long long& entries,
                 long long& bytes, const deletion::RegistrySnapshot* snapshot = nullptr);
