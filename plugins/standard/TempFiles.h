// The "System Temporary Files" item: which folder it is, whether it may be cleaned, and
// the two walks over it (counting and deletion).
#pragma once

#include <string>

#include "common/deletion/FileSnapshot.h"
#include "plugins/standard/Rules.h"

namespace orvane {

// The value of "TMP", or of "TEMP" when that is missing or empty; false when neither is set.
bool ReadTempFolder(std::string& folder);

// The temporary folder as the system resolves it (its final path): false when it is unset
// or may not be cleaned (the same rules as when the item is set up).
bool ReadCleanableTempFolder(std::string& folder);

// The rule for a temporary folder given as its final path (Rules.h, TempRootAccepted),
// with the folders it names read from this system, and checked by identity as well (a
// mapped drive or a share may name those folders under other names). The walk asks it
// again for the folder it has opened, right before it empties it.
bool AcceptTempRoot(const std::string& finalPath);

// Opens the temporary folder, decides on the folder opened, and, when it may be cleaned,
// deletes what the count saw in it while holding it open. The cleaning of "System
// Temporary Files".
Counters CleanTempFolder(deletion::FileSnapshot& seen, bool delSubfolders, bool delReadonly);

struct TempSetUp {
  bool active = false;      // the item is offered
  std::string description;  // its description, cut to the record's field
  Counters found;
  deletion::FileSnapshot seen;  // what was counted, for the cleaning
};
// Reads the temporary, Windows and system folders and decides whether the item is offered;
// when it is, counts the files it would delete.
TempSetUp SetUpTempItem();

// The walks start at `folder` (without "\*.*"), and walk nothing when the folder they open
// resolves to one that may not be cleaned. Links (junctions, symbolic links) are neither
// entered nor deleted, and paths that do not fit 260 characters are skipped. `seen`, when
// given, keeps what was counted for the deletion walk.
Counters CountTempFiles(const std::string& folder, deletion::FileSnapshot* seen = nullptr);
// Deletes every file the count into `seen` saw and that is still there unchanged, at any
// depth; with `delSubfolders` removes the subfolders that end up empty; with `delReadonly`
// deletes read-only files too (their mark stays when the delete fails). The folder itself
// stays.
Counters DeleteTempFiles(const std::string& folder, deletion::FileSnapshot& seen, bool delSubfolders,
                         bool delReadonly);

}  // namespace orvane
