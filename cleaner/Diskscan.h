// The file walks of text plug-ins: counting what a files entry covers, and deleting it.
#pragma once

#include <string>

#include "cleaner/TextEntries.h"
#include "common/deletion/FileSnapshot.h"

struct WalkResult {
  long long entries = 0;  // files
  long long bytes = 0;
};

// Counts the matching files of `folder` (ending in '\') whose long names match `mask`, and with
// `Subfolders` those of every subfolder at any depth. Links are never followed nor counted,
// and files or folders whose path would not fit into one path are left out, exactly as
// the deletion walk leaves them. `seen`, when given, keeps what was counted for the
// deletion walk.
WalkResult CountFolder(const char* folder, const char* mask, textentries::SwitchSet switches,
                       deletion::FileSnapshot* seen = nullptr);

// Deletes what the count into `seen` counted and is still there unchanged, removes each
// walked subfolder once it is empty, and with `IncludeFolder` the named folder itself. A
// counted file that cannot be deleted is scheduled for removal at restart when
// RemoveOnReboot allows it (raising RebootFileCount), and counts nothing.
WalkResult DeleteFolder(const char* folder, const char* mask, textentries::SwitchSet switches,
                        deletion::FileSnapshot& seen);

// Hands `path` to the system for removal at the next restart: MoveFileExA on the NT
// family, a "NUL" line in the "Rename" section of WININIT.INI otherwise. True when the
// system took it (the call succeeded, or the line was written).
bool ScheduleRemovalAtRestart(const char* path);
bool ScheduleRemovalAtRestart(const char* path, bool ntFamily);
// The same for a file whose exact "\\?\" path is known: the NT family is given that path,
// so a name the system would rewrite ("abcd." for "abcd") stays the name that goes.
bool ScheduleRemovalAtRestart(const std::wstring& exactPath, const char* path);

namespace diskscan {
constexpr const char* kWininitFile = "\\WININIT.INI";
constexpr const char* kRenameSection = "Rename";
constexpr const char* kRenameKey = "NUL";
}  // namespace diskscan
