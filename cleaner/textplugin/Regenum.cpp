#include "cleaner/textplugin/Regenum.h"

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
                long long& bytes, deletion::RegistrySnapshot* snapshot) {
  const deletion::RegistryTally found = deletion::CountRegistryEntry(parent, keyPath, valueName, snapshot);
  entries += found.entries;
  bytes += found.bytes;
}

bool DeleteEntry(HKEY parent, const char* keyPath, const char* valueName, long long& entries,
                 long long& bytes, const deletion::RegistrySnapshot* snapshot) {
  bool keyDeleted = false;
  const deletion::RegistryTally cleaned =
      deletion::DeleteRegistryEntry(parent, keyPath, valueName, snapshot, &keyDeleted);
  entries += cleaned.entries;
  bytes += cleaned.bytes;
  return keyDeleted;
}
