#include "cleaner/textplugin/FolderListing.h"

#include <windows.h>

#include <cstring>

#include "cleaner/textplugin/Diskscan.h"
#include "common/Unique.h"

namespace wildcards {

std::vector<std::string> ListSubfolders(const std::string& folder) {
  std::vector<std::string> names;
  const std::string pattern = folder + "*";
  if (!textentries::FitsPath(pattern.size())) return names;
  WIN32_FIND_DATAA data;
  // cFileName is the long name; the 8.3 name in cAlternateFileName is never matched.
  const win::UniqueFind find(FindFirstFileA(pattern.c_str(), &data));
  if (!find) return names;
  do {
    // A junction or a folder symbolic link carries the reparse point attribute: it points
    // somewhere else entirely, and a wildcard never leads there.
    if (textentries::IsWalkedFolder(data.dwFileAttributes, data.cFileName))
      names.emplace_back(data.cFileName, strnlen(data.cFileName, MAX_PATH));
  } while (FindNextFileA(find.get(), &data));
  return names;
}

Expansion ExpandOnDisk(const std::string& path, std::size_t budget, std::vector<std::string>& out) {
  const auto isPlainFolder = [](const std::string& folder) {
    // Asked with its trailing '\', a link answers for the folder it points to.
    const std::string name = folder.substr(0, folder.size() - 1);
    const DWORD attributes = GetFileAttributesA(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == FILE_ATTRIBUTE_DIRECTORY;
  };
  return ExpandFolderWildcards(path, ListSubfolders, isPlainFolder, SystemCaseFold(), budget, out);
}

}  // namespace wildcards
