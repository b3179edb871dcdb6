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
  // The store's form of the entry; the entry unchanged after a reported failure.
  StartupItem formatEntry(StartupItem& item);

  // Rewrites all entries of one type in a new order: every live entry is deleted (values
  // keep their registry type and bytes), then the new list added one by one; disabled
  // entries stay kept until their add makes them live. The list must hold the same entries as the store. An
  // entry that was taken out and cannot be written back is kept as a disabled entry where
  // the store can keep it, and named in the report in every case.
  // True when every entry is back in its place in the new order.
  bool replaceAllEntries(const std::vector<StartupItem>& entries);

 private:
  StartupDatabase* findDatabase(int type);

  ErrorHandler& _errorHandler;
  std::map<int, StartupDatabase*> _database;
};

}  // namespace products::stelmar
