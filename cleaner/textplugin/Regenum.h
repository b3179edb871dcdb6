// The registry side of text plug-ins: counting and deleting one key (recursively, with
// all its values) or one value.
#pragma once

#include <windows.h>

#include "cleaner/textplugin/TextEntries.h"

// The predefined key of a hive.
HKEY HiveKey(textentries::Hive hive);

// Adds to `entries` and `bytes` what the entry holds: the one value named by `valueName`,
// or, when it is null, every value of the key and of all its subkeys. A key that cannot
// be opened adds nothing.
void CountEntry(HKEY parent, const char* keyPath, const char* valueName, long long& entries,
                long long& bytes);

// Deletes the value, or the whole key: subkeys first, then the key's values, then the key
// itself. Adds the values deleted. Returns whether the key itself was deleted.
bool DeleteEntry(HKEY parent, const char* keyPath, const char* valueName, long long& entries,
                 long long& bytes);
