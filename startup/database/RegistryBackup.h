// The store of disabled registry entries of every registry type, kept in one file
// ("stelmar.dat" in the program's folder). The whole file is rewritten on every save, through
// a temporary file that replaces it only when complete.
//
// A damaged file (too short, a count that promises more records than there are, a last
// record without its zero bytes) is never read past its end: the whole records are kept,
// the damage is reported as a failed check, and a copy of the damaged file is kept beside it
// ("stelmar.dat.damaged") before the file is next overwritten.
#pragma once

#include <string>
#include <vector>

#include "startup/StartupItem.h"

namespace products::stelmar::database {

class RegistryBackup {
 public:
  static const char* const DAMAGED_SUFFIX;  // ".damaged"

  // Loads the file when it exists; a missing file is an empty store. Throws
  // CouldNotLoadFileException when an existing file cannot be read.
  explicit RegistryBackup(const std::string& fileName);
  RegistryBackup(const RegistryBackup&) = delete;
  RegistryBackup& operator=(const RegistryBackup&) = delete;
  virtual ~RegistryBackup() = default;

  // Appends a copy; the item must not be present yet.
  virtual void add(const StartupItem& item);
  // Erases the first equal entry; the item must be present.
  virtual void remove(const StartupItem& item);
  virtual bool contains(const StartupItem& item) const;
  // Writes the whole list. Throws CouldNotSaveFileException; the file is then as before.
  virtual void save();

  // The entries of one type, in list order.
  std::vector<StartupItem> getEntries(int type) const;
  // All entries, to put the list back as it was after a failed change.
  const std::vector<StartupItem>& getAllEntries() const { return _entries; }
  void setAllEntries(const std::vector<StartupItem>& entries) { _entries = entries; }

  const std::string& getFileName() const { return _fileName; }
  // Where the damaged file was copied; empty when the file was sound or the copy is still
  // to be made.
  const std::string& getDamagedCopyName() const { return _damagedCopy; }

 private:
  void load();
  // Copies the damaged file beside it under a name no other copy has; true when done.
  bool keepDamagedCopy();

  std::string _fileName;
  std::vector<StartupItem> _entries;
  bool _damagedCopyPending = false;
  std::string _damagedCopy;
};

}  // namespace products::stelmar::database
