// The file operations of the startup manager's stores. Every failure is a WindowsFileException
// whose text names the file and ends with the system's description of the error code.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/Unique.h"

namespace windows::file {

class WindowsFileHelper {
 public:
  // An existing folder is fine. Throws CouldNotCreateDirectoryException.
  static void createDirectory(const std::string& path);
  // Never overwrites: fails when the target exists. Throws CouldNotMoveFileException.
  static void moveFile(const std::string& source, const std::string& target);
  // A missing file is fine unless `failIfMissing`. Throws CouldNotDeleteFileException.
  static void deleteFile(const std::string& path, bool failIfMissing);
  // Whether the program named by a path or command line is found: in its folder when it
  // names one, else along the system's search path. Throws CouldNotCheckIfFileExistException.
  static bool fileExists(const std::string& path) { return findFile(path).has_value(); }
  // The same search: the path of the program found (as the search built it), or nothing.
  static std::optional<std::string> findFile(const std::string& path);
  // The files (no folders) directly in `folder` that match `mask`, each as folder + name.
  // Throws CouldNotGetFirstLevelFilesException.
  static std::vector<std::string> getFirstLevelFiles(const std::string& folder,
                                                     const std::string& mask);

  // The icon the shell shows for the file. The path must be shorter than MAX_PATH.
  // Throws CouldNotExtractAssosiatedIconExcpetion.
  static win::UniqueIcon extractAssociatedIcon(const std::string& path);
  // The path of an existing file or folder with every component in its long form (forward
  // slashes become backslashes). Throws CouldNotConvertShortPathToLongPathException.
  static std::string toLongPath(const std::string& path);
  // With a trailing backslash. Throws CouldNotGetCurrentDirectoryException.
  static std::string getCurrentDirectory();
  // The folder of the running program, with its trailing backslash.
  // Throws CouldNotGetModuleFileNameException.
  static std::string getProgramDirectory();
  // Throws CouldNotSetCurrentDirectoryException.
  static void setCurrentDirectory(const std::string& path);
};

}  // namespace windows::file
