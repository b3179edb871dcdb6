// The store of one registry startup type: each live entry is one value under a Run-type
// key (name = value name, data = command line). Disabling deletes the value and keeps the
// entry in the shared RegistryBackup; enabling writes it back.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>

#include "startup/StartupDatabase.h"
#include "startup/database/RegistryBackup.h"
#include "startup/windows/registry/RegistryReaderImpl.h"

namespace products::stelmar::database {

class RegistryDatabase : public StartupDatabase {
 public:
  // Rights of the key for listing, and for writing and deleting.
  static constexpr REGSAM READ_ACCESS = KEY_READ;
  static constexpr REGSAM WRITE_ACCESS = KEY_WRITE;

  // `backup` is shared by every registry database and not owned.
  RegistryDatabase(int type, RegistryBackup& backup);

  std::vector<StartupItem> getEntries() override;
  // Writes the value back with the registry type and bytes it was kept with, when its data
  // still reads as the entry's data; as REG_SZ text otherwise.
  void enableEntry(StartupItem& item) override;
  // Only a text value (REG_SZ or REG_EXPAND_SZ) can be disabled; any other type is refused
  // with RegistryUnexpectedTypeException and the value stays. The value's type and bytes
  // are kept with the entry. The entry always stays either live in its key or kept in the
  // backup: when the backup cannot be saved, the value is written back as it was and the
  // backup in memory restored before the failure is thrown.
  void disableEntry(StartupItem& item) override;
  void deleteEntry(StartupItem& item) override;
  // An entry this store took out (deleted) or keeps aside is written with the value it had,
  // when its data is unchanged; any other as REG_SZ text.
  void addEntry(StartupItem& item) override;
  StartupItem formatEntry(StartupItem& item) override;
  int getType() override { return _type; }
  bool isWorking() override { return true; }

  // Hive and key path of a registry type (HKEY_CURRENT_USER and an empty path, after a
  // failed check, for any other type).
  static std::pair<HKEY, std::string> getLocation(int type);

 private:
  int _type;
  RegistryBackup& _backup;
  // Values this store deleted, by name, as they were: adding such an entry again with the
  // same data writes its value back exactly (REG_EXPAND_SZ, REG_DWORD, ...). Kept until the
  // entry is added or disabled, or the next listing.
  std::map<std::string, windows::registry::RawValue> _takenOut;
};

}  // namespace products::stelmar::database
