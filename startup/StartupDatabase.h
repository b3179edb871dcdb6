// What every store of startup entries offers: the registry keys (RegistryDatabase) and the
// autostart folders (AutostartDatabase). Failures are thrown as the program's exceptions.
#pragma once

#include <vector>

#include "startup/StartupConstants.h"
#include "startup/StartupItem.h"
#include "startup/database/RecycleFile.h"
#include "startup/platform/errorresources/Exceptions.h"

namespace products::stelmar {

class StartupDatabase {
 public:
  virtual ~StartupDatabase() = default;
  // Live entries (ENABLED) first, then the ones kept aside (DISABLED).
  virtual std::vector<StartupItem> getEntries() = 0;
  // Enable and disable set the item's state and changed flag.
  virtual void enableEntry(StartupItem& item) = 0;
  virtual void disableEntry(StartupItem& item) = 0;
  virtual void deleteEntry(StartupItem& item) = 0;
  virtual void addEntry(StartupItem& item) = 0;
  // The item in the form this store keeps it.
  virtual StartupItem formatEntry(StartupItem& item) = 0;
  virtual int getType() = 0;
  virtual bool isWorking() = 0;

  // Takes an entry out that stands elsewhere now (the source of a move, the old form of an
  // edit): not kept for restoring, unlike a delete.
  virtual void removeEntry(StartupItem& item) { deleteEntry(item); }
  // Adds an entry straight into the store of kept (disabled) entries, never live.
  virtual void addKeptEntry(StartupItem& item) {
    addEntry(item);
    item.setState(StartupConstants::ENABLED);
    disableEntry(item);
  }
  // Puts a deleted entry back where it was, in the state it had; one of the same name there
  // is replaced (the caller asked first).
  virtual void restoreEntry(const database::RecycledEntry& entry) {
    (void)entry;
    throw exceptions::Exception("This store cannot restore deleted entries.");
  }
};

}  // namespace products::stelmar
