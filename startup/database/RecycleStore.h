// The store of deleted entries: every delete keeps the entry here first (a registry value's
// name, type and raw bytes; a shortcut or program file whole), so that "Restore" can put it
// back where it was. Saved whole on every change, through a temporary file that replaces
// the file only when complete.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "startup/database/RecycleFile.h"

namespace products::stelmar::database {

class RecycleStore {
 public:
  static const char* const SUFFIX;  // ".deleted", after the name of the disabled entries' store

  // Loads the file when it exists. A file that cannot be read is kept as it is beside
  // (".damaged") and the store starts empty.
  explicit RecycleStore(const std::string& fileName);
  RecycleStore(const RecycleStore&) = delete;
  RecycleStore& operator=(const RecycleStore&) = delete;

  // Keeps an entry (its time is set here) and saves; only then may the caller remove it.
  // Throws CouldNotSaveFileException, and then keeps nothing.
  std::uint64_t keep(RecycledEntry entry);
  // Drops an entry and saves. Throws CouldNotSaveFileException.
  void forget(std::uint64_t time);
  // Drops the entries kept since `since` whose startup type and name are given (what an
  // operation kept only while it ran), and saves once.
  void forgetSince(std::uint64_t since, int startupType, const std::vector<std::string>& names);
  // Newest first.
  const std::vector<RecycledEntry>& getEntries() const { return _entries; }
  const RecycledEntry* find(std::uint64_t time) const;
  // The time now, as the entries count it.
  static std::uint64_t now();

 private:
  void save(const std::vector<RecycledEntry>& entries);

  std::string _fileName;
  std::vector<RecycledEntry> _entries;
};

}  // namespace products::stelmar::database
