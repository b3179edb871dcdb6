// The changes of the main dialog that take two steps of the startup interface. Each step
// reports its own failure through the interface's error handler; these decide what the
// next step is, so that no entry is lost when a step fails.
#pragma once

#include "startup/StartupInterface.h"
#include "startup/StartupItem.h"

namespace products::stelmar {

// Moves an entry to another location (drag and drop): `target` is added (live) first, and
// `source` deleted only after the add succeeded. True when both steps worked; when the
// delete fails the entry is in both places, which loses nothing.
bool moveEntry(StartupInterface& startup, StartupItem& source, StartupItem& target);

// Replaces `old` by `edited`: `old` is deleted, then `edited` added. When the add fails,
// `old` is added back. An entry whose state is DISABLED is disabled again once it is in
// place, so that an edit never turns a disabled entry on; the records' states follow what
// the store did. True when `edited` is in place.
bool editEntry(StartupInterface& startup, StartupItem& old, StartupItem& edited);

}  // namespace products::stelmar
