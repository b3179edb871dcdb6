// Windows' own switch of the entries of a startup location (see StartupApprovedFlag.h): where
// it lies for each startup type, whether it has switched an entry off, and switching one on
// again the way Windows does.
#pragma once

#include <windows.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "startup/StartupItem.h"

namespace products::stelmar::database {

class StartupApproved {
 public:
  struct Location {
    HKEY hive;
    std::string keyPath;
    REGSAM view;  // Explorer's own (native) view on 64-bit Windows
  };

  // The machine's and the current user's Run keys and start-up folders have a switch; the
  // other types have none.
  static std::optional<Location> locationOf(int type, bool windows64);

  explicit StartupApproved(Location location) : _location(std::move(location)) {}

  // True only for a flag that says disabled. A missing or unreadable key or value, or a
  // malformed flag, leaves the entry as it is: false. Never throws.
  bool isSwitchedOff(const std::string& name) const;
  // The same for a whole listing, the key opened once: those of `names` that are switched off.
  std::set<std::string> switchedOff(const std::vector<std::string>& names) const;
  // Writes 02 and eleven zero bytes to a flag that says disabled, and nothing otherwise.
  // Returns whether it wrote. Throws the registry exceptions.
  bool switchOn(const std::string& name) const;
  // An entry just added runs with Windows: a switch left off under its name (by an earlier
  // entry of that name) is switched on, unless the entry is one that Windows switched off and
  // that is only being written again. A switch that cannot be written is left as it is and
  // shows at the next listing; the entry is added all the same. Never throws.
  void switchOnForNewEntry(const StartupItem& item) const;

 private:
  Location _location;
};

}  // namespace products::stelmar::database
