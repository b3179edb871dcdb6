// The disk side of folder wildcards: lists real subfolders with FindFirstFileA and expands
// a files path against them (FolderWildcards).
#pragma once

#include <string>
#include <vector>

#include "cleaner/textplugin/FolderWildcards.h"

namespace wildcards {

// The subfolders of `folder` (ending in '\') by their long names, links left out.
std::vector<std::string> ListSubfolders(const std::string& folder);

// Expands the folder wildcards of one expanded files path against the disk; at most
// `budget` paths are appended to `out`.
Expansion ExpandOnDisk(const std::string& path, std::size_t budget, std::vector<std::string>& out);

}  // namespace wildcards
