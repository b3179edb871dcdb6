// The store of one registry startup type: each live entry is one value under a Run-type
// key (name = value name, data = command line). Disabling deletes the value and keeps the
// entry in the shared RegistryBackup; enabling writes it back.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <utility>

#include "startup/StartupDatabase.h"
#include "startup/database/RecycleStore.h"
#include "startup/database/RegistryBackup.h"
#include "startup/database/StartupApproved.h"
#include "startup/windows/registry/RegistryReaderImpl.h"

namespace products::stelmar::database {

class RegistryDatabase : public StartupDatabase {
 public:
  // Rights of the key for listing, and for writing and deleting.
  static constexpr REGSAM READ_ACCESS = KEY_READ;
  static constexpr REGSAM WRITE_ACCESS = KEY_WRITE;

  // `backup` is shared by every registry database and not owned. `windows64`: the program
  // runs on 64-bit Windows, where the machine's keys of types 0 to 4 are opened in the native
  // view and those of types 11 and 12 in the 32-bit view.
  // `recycle` (not owned; may be null) keeps every deleted entry to be restored.
  RegistryDatabase(int type, RegistryBackup& backup, bool windows64 = false,
                   RecycleStore* recycle = nullptr);

  // A live value that Windows' own switch has turned off is listed DISABLED (marked so).
  // A value that is also kept aside is listed once, live: when the kept copy starts the same
  // command, an operation was cut short and the copy goes; otherwise both stay and the live
  // entry's note names the kept one.

  std::vector<StartupItem> getEntries() override;
  // Writes the value back with the registry type and bytes it was kept with, when its data
  // still reads as the entry's data; as REG_SZ text otherwise. An entry that Windows
  // switched off is switched on as Windows does it, its value left as it is; so is a switch
  // left off under a value written back.
  void enableEntry(StartupItem& item) override;
  // Only a text value (REG_SZ or REG_EXPAND_SZ) can be disabled; any other type is refused
  // with RegistryUnexpectedTypeException and the value stays. The value's type and bytes
  // are kept with the entry. The entry is saved in the backup before its value is deleted,
  // so that it always stays either live in its key or kept in the backup. Another entry of
  // the same name already kept aside goes to the store of deleted entries first.
  void disableEntry(StartupItem& item) override;
  // Keeps the entry in the store of deleted entries first, then takes it out.
  void deleteEntry(StartupItem& item) override;
  void removeEntry(StartupItem& item) override;
  void addKeptEntry(StartupItem& item) override;
  void restoreEntry(const RecycledEntry& entry) override;
  // An entry this store took out (deleted) or keeps aside, or one moved or edited from
  // another entry, is written with the value it had when its data is unchanged; any other
  // as REG_SZ text. A value of the name that is no text (hidden from the listing) is never
  // replaced: the add is refused. An added entry runs: Windows'
  // switch for its name is switched on, unless the entry is one that Windows switched off
  // and that is only written again (a new loading order).
  void addEntry(StartupItem& item) override;
  StartupItem formatEntry(StartupItem& item) override;
  int getType() override { return _type; }
  bool isWorking() override { return true; }

  // Hive and key path of a registry type (HKEY_CURRENT_USER and an empty path, after a
  // failed check, for any other type).
  static std::pair<HKEY, std::string> getLocation(int type);
  // The registry view of a type's key: the native one for the machine's keys of types 0 to
  // 4 and the 32-bit one for types 11 and 12 on 64-bit Windows; the program's own (0) for
  // every other key, and for every key on 32-bit Windows.
  static REGSAM getView(int type, bool windows64);

 private:
  // The (name, text) pairs of the key's text values; none when the key does not exist.
  std::vector<windows::registry::ListedValue> liveValues() const;
  // The value the entry was made from, when that is a registry entry.
  std::optional<windows::registry::RawValue> sourceValue(const StartupItem& item) const;
  void takeOut(StartupItem& item, bool keepForRestore);
  int _type;
  RegistryBackup& _backup;
  REGSAM _view;
  bool _windows64;
  RecycleStore* _recycle;
  std::optional<StartupApproved> _approved;
  // Values this store deleted, by name, as they were: adding such an entry again with the
  // same data writes its value back exactly (REG_EXPAND_SZ, REG_DWORD, ...). Kept until the
  // entry is added or disabled, or the next listing.
  std::map<std::string, windows::registry::RawValue> _takenOut;
};

}  // namespace products::stelmar::database
