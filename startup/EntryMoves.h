// The changes of the main dialog that take two steps of the startup interface. Each step
// reports its own failure through the interface's error handler; these decide what the
// next step is, so that no entry is lost when a step fails or the program is killed
// between two steps: the new entry is always in place before the old one is taken out.
#pragma once

#include "startup/StartupInterface.h"
#include "startup/StartupItem.h"

namespace products::stelmar {

extern const char* const INEXACT_NOT_CHANGED;
extern const char* const PROGRAM_NOT_EDITED;

// Moves an entry to another location (drag and drop): `target` is added (live) first, and
// `source` taken out only after the add succeeded. True when both steps worked; when the
// second fails the entry is in both places, which loses nothing.
bool moveEntry(StartupInterface& startup, StartupItem& source, StartupItem& target);

// Replaces `old` by `edited`, in the state `old` has: `edited` is added (as a kept entry when
// disabled, so that an edit never turns a disabled entry on), then `old` taken out unless it
// is the same entry (same location and name), which the add has replaced in place. A
// program file in an autostart folder is not edited (it is the user's program, not a
// shortcut). True when `edited` is in place.
bool editEntry(StartupInterface& startup, StartupItem& old, StartupItem& edited);

}  // namespace products::stelmar
