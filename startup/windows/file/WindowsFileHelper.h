// The file operations of the startup manager's stores. Every failure is a WindowsFileException
// whose text names the file and ends with the system's description of the error code.
#pragma once

#include <string>
#include <vector>

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
  static bool fileExists(const std::string& path);
  // The files (no folders) directly in `folder` that match `mask`, each as folder + name.
  // Throws CouldNotGetFirstLevelFilesException.
  static std::vector<std::string> getFirstLevelFiles(const std::string& folder,
                                                     const std::string& mask);
};

}  // namespace windows::file
