// The store of disabled registry entries of every registry type, kept in one file
// ("stelmar.dat" in the program's folder). The whole file is rewritten on every save, through
// a temporary file that replaces it only when complete.
//
// A damaged file (too short, a count that promises more records than there are, a last
// record without its zero bytes) is never read past its end: the whole records are kept,
// the damage is reported as a failed check, and a copy of the damaged file is kept beside it
// ("stelmar.dat.damaged") before the file is next overwritten.
//
// Beside it lies "stelmar.dat.values" with the registry type and raw bytes of the disabled
// values (see KeptValues.h). It is saved first, in the same safe way, so that the record
// in "stelmar.dat" is never newer than its value there; a value whose record is gone, or
// a missing or unreadable side file, only means that the entry comes back as text.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "startup/StartupItem.h"
#include "startup/database/KeptValues.h"

namespace products::stelmar::database {

class RegistryBackup {
 public:
  static const char* const DAMAGED_SUFFIX;  // ".damaged"
  static const char* const VALUES_SUFFIX;   // ".values"

  // Loads the file when it exists; a missing file is an empty store. Throws
  // CouldNotLoadFileException when an existing file cannot be read.
  explicit RegistryBackup(const std::string& fileName);
  RegistryBackup(const RegistryBackup&) = delete;
  RegistryBackup& operator=(const RegistryBackup&) = delete;
  virtual ~RegistryBackup() = default;

  // Appends a copy; the item must not be present yet. It has no kept value until
  // keepValue gives it one.
  virtual void add(const StartupItem& item);
  // Erases the first equal entry and its kept value; the item must be present.
  virtual void remove(const StartupItem& item);
  virtual bool contains(const StartupItem& item) const;
  // The kept entry equal to `item` (same type, same name without case); null when none.
  const StartupItem* find(const StartupItem& item) const;
  // Writes the kept values, then the whole list. Throws CouldNotSaveFileException; the
  // list's file is then as before.
  virtual void save();

  // The registry type and raw bytes of a kept entry's value, as they were in the key.
  void keepValue(const StartupItem& item, std::uint32_t registryType, const std::string& bytes);
  // Null when the entry has none.
  const KeptValue* findValue(const StartupItem& item) const;

  // The entries of one type, in list order.
  std::vector<StartupItem> getEntries(int type) const;
  const std::vector<StartupItem>& getAllEntries() const { return _entries; }
  // True when the list in memory differs from the file's (an entry taken out by an add or
  // by a live value, which does not save).
  bool hasUnsavedChanges() const { return _unsaved; }
  // Everything in memory, to put it back as it was after a failed change.
  struct Contents;
  Contents getContents() const;
  void setContents(const Contents& contents);

  const std::string& getFileName() const { return _fileName; }
  // Where the damaged file was copied; empty when the file was sound or the copy is still
  // to be made.
  const std::string& getDamagedCopyName() const { return _damagedCopy; }

 private:
  using ValueKey = std::pair<int, std::string>;  // startup type, folded name
  static ValueKey keyOf(int type, const std::string& name);

  void load();
  void loadValues();
  // Copies the damaged file beside it under a name no other copy has; true when done.
  bool keepDamagedCopy();

  std::string _fileName;
  std::vector<StartupItem> _entries;
  std::map<ValueKey, KeptValue> _values;
  bool _unsaved = false;
  bool _damagedCopyPending = false;
  std::string _damagedCopy;
};

struct RegistryBackup::Contents {
  std::vector<StartupItem> entries;
  std::map<ValueKey, KeptValue> values;
  bool unsaved;
};

}  // namespace products::stelmar::database
