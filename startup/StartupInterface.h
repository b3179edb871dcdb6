// The one door from the user interface to the stores. It picks the store by the entry's
// type, runs the operation, and turns every failure into one complete text for the error
// handler: add, delete, enable, disable, format and replace-all never throw.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "startup/ErrorHandler.h"
#include "startup/StartupDatabase.h"
#include "startup/StartupItem.h"
#include "startup/database/RecycleStore.h"

namespace products::stelmar {

class StartupInterface {
 public:
  static const char* const SETS_DIFFER;

  // `errorHandler` is not owned and outlives the interface.
  explicit StartupInterface(ErrorHandler& errorHandler);
  StartupInterface(const StartupInterface&) = delete;
  StartupInterface& operator=(const StartupInterface&) = delete;

  // Enters a database (not owned) under its own type; at most one per type.
  void addDatabase(StartupDatabase& database);
  // The types that have a database, ascending.
  std::vector<int> getTypes() const;

  // The store's failures pass to the caller.
  std::vector<StartupItem> getEntries(int type);

  // Each returns true when the store did what was asked; a failure has been handed to the
  // error handler by then, so a caller that chains operations (a move is an add and then a
  // delete) stops or undoes what it did.
  bool addEntry(StartupItem& item);
  bool deleteEntry(StartupItem& item);
  bool enableEntry(StartupItem& item);
  bool disableEntry(StartupItem& item);
  // Takes out an entry that stands elsewhere now (see StartupDatabase::removeEntry).
  bool removeEntry(StartupItem& item);
  // Adds an entry as a disabled one, never live.
  bool addKeptEntry(StartupItem& item);
  // Hands a text of the caller's to the error handler.
  void reportError(const std::string& text) { _errorHandler.handleError(text); }

  // The store of deleted entries (not owned; may be null, then nothing is restorable).
  void setRecycleStore(database::RecycleStore* recycle) { _recycle = recycle; }
  // The deleted entries that can be restored, newest first.
  std::vector<database::RecycledEntry> getDeletedEntries() const;
  // Puts the deleted entry of that time back where it was; true when done.
  bool restoreEntry(std::uint64_t time);

  // The store's form of the entry; the entry unchanged after a reported failure.
  StartupItem formatEntry(StartupItem& item);

  // Rewrites all entries of one type in a new order: every live entry is deleted (values
  // keep their registry type and bytes; each is kept in the store of deleted entries until
  // it is back), then the live ones of the new list added one by one; disabled entries stay
  // kept and disabled. The list must hold the same entries as the store. An
  // entry that was taken out and cannot be written back is kept as a disabled entry where
  // the store can keep it, and named in the report in every case.
  // True when every entry is back in its place in the new order.
  bool replaceAllEntries(const std::vector<StartupItem>& entries);

 private:
  StartupDatabase* findDatabase(int type);

  ErrorHandler& _errorHandler;
  std::map<int, StartupDatabase*> _database;
  database::RecycleStore* _recycle = nullptr;
};

}  // namespace products::stelmar
