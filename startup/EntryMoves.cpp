#include "startup/EntryMoves.h"

#include "startup/StartupConstants.h"
#include "startup/util/parser/ArgumentParserHelpers.h"

namespace products::stelmar {

const char* const INEXACT_NOT_CHANGED =
    "This entry's name or command line holds characters that the system's code page cannot "
    "show, so it cannot be moved or edited without changing it. It stays as it is and keeps "
    "running.\n\n";
const char* const PROGRAM_NOT_EDITED =
    "This entry is a program file in the autostart folder, not a shortcut: its name and "
    "command line are the file itself. It is left as it is; to start the program another way, "
    "add a new startup entry that points at it.\n\n";

bool moveEntry(StartupInterface& startup, StartupItem& source, StartupItem& target) {
  if (source.isInexact()) {
    startup.reportError(INEXACT_NOT_CHANGED + source.toString());
    return false;
  }
  target.setSource(source);
  if (!startup.addEntry(target)) return false;
  target.setState(StartupConstants::ENABLED);
  return startup.removeEntry(source);
}

bool editEntry(StartupInterface& startup, StartupItem& old, StartupItem& edited) {
  if (old.isInexact()) {
    startup.reportError(INEXACT_NOT_CHANGED + old.toString());
    return false;
  }
  if (StartupConstants::isAutostartType(old.getType()) &&
      !util::parser::ArgumentParserHelpers::isShortcut(old.getName())) {
    startup.reportError(PROGRAM_NOT_EDITED + old.toString());
    return false;
  }
  edited.setSource(old);
  // One that Windows switched off is in its place: it is replaced there.
  const bool disabled =
      old.getState() == StartupConstants::DISABLED && !old.isSwitchedOffByWindows();
  const int state = disabled ? StartupConstants::DISABLED : StartupConstants::ENABLED;
  StartupItem added(edited.getType(), state, edited.getName(), edited.getData());
  added.setSource(old);
  if (!(disabled ? startup.addKeptEntry(added) : startup.addEntry(added))) return false;
  edited.setState(state);
  edited.setFile(added.getFile());
  // The same entry has been replaced in place; any other is taken out now.
  if (edited == old) return true;
  startup.removeEntry(old);
  return true;
}

}  // namespace products::stelmar
