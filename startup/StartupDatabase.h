// What every store of startup entries offers: the registry keys (RegistryDatabase) and the
// autostart folders (AutostartDatabase). Failures are thrown as the program's exceptions.
#pragma once

#include <vector>

#include "startup/StartupItem.h"

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
};

}  // namespace products::stelmar
