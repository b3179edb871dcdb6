// What the text plug-in checker says about the lines of a ".vkt" file: lines that do
// nothing (the engine reads them, but they name no path, hive or mask that it can use) and
// lines that reach wide (a drive, a profile, the Windows folder, a whole known folder, a
// registry key right below a hive's top keys). No Windows call: the folders are passed in.
#pragma once

#include <string>
#include <vector>

#include "cleaner/textplugin/FolderWildcards.h"
#include "cleaner/textplugin/TextEntries.h"

namespace vktcheck {

enum class Severity { kDoesNothing, kWide };

struct Finding {
  Severity severity;
  std::string text;
};

// The folders a files entry is compared with, each without a trailing '\'.
struct Folders {
  std::string windows;
  std::string system;
  std::string profile;             // the user's profile folder
  std::vector<std::string> known;  // the folders of the path macros and the like
  std::string computer;            // this computer's name: "\\NAME\C$\" is drive C:
};

// A folder as the system resolves it, for comparing: empty segments dropped, the blanks and
// dots that end a segment taken off ("C:\\Windows.\" is "C:\Windows"), "." and ".."
// applied, the device forms "\\?\" and "\\.\" taken off, and a local administrative
// share ("\\localhost\C$\...", "\\127.0.0.1\c$\...", "\\<computer>\C$\...") read as its
// drive. No trailing '\'; a drive root is "C:". Empty when it names neither drive nor share.
std::string ResolvedFolder(const std::string& folder, const std::string& computer = std::string());

// Checks of a files line as written, before expansion.
std::vector<Finding> CheckFilesLine(const std::string& line);
// Why an expanded files path yields nothing, or where it reaches too far. `entry` gets the
// parsed entry; `usable` whether the engine walks it.
std::vector<Finding> CheckExpandedPath(const std::string& expandedPath, const Folders& folders,
                                       textentries::FilesEntry& entry, bool& usable);
// Checks of a path with folder wildcards (`path` after the macros, before the wildcards)
// and of how it expanded on this machine.
std::vector<Finding> CheckWildcardPath(const std::string& path, const wildcards::Expansion& expansion,
                                       const Folders& folders);
// Checks of a registry line; `entry` and `usable` as above.
std::vector<Finding> CheckRegistryLine(const std::string& line, textentries::RegistryEntry& entry,
                                       bool& usable);

// "/S", "/SI" or "/SO" for a switch set ("" for none; "/SI /SO" for all three).
std::string SwitchText(const textentries::SwitchSet& switches);
const char* HiveName(textentries::Hive hive);

}  // namespace vktcheck
