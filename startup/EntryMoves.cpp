#include "startup/EntryMoves.h"

#include "startup/StartupConstants.h"

namespace products::stelmar {

namespace {

// Adding always makes an entry live; one that was disabled is then kept aside again.
bool addInItsState(StartupInterface& startup, StartupItem& item) {
  const bool disabled = item.getState() == StartupConstants::DISABLED;
  if (!startup.addEntry(item)) return false;
  item.setState(StartupConstants::ENABLED);
  if (disabled) startup.disableEntry(item);
  return true;
}

}  // namespace

bool moveEntry(StartupInterface& startup, StartupItem& source, StartupItem& target) {
  if (!startup.addEntry(target)) return false;
  target.setState(StartupConstants::ENABLED);
  return startup.deleteEntry(source);
}

bool editEntry(StartupInterface& startup, StartupItem& old, StartupItem& edited) {
  if (!startup.deleteEntry(old)) return false;
  if (addInItsState(startup, edited)) return true;
  addInItsState(startup, old);
  return false;
}

}  // namespace products::stelmar
