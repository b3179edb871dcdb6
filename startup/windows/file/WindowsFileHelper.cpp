#include "startup/windows/file/WindowsFileHelper.h"

#include <windows.h>

#include "common/Unique.h"
#include "startup/platform/errorresources/Assertion.h"
#include "startup/platform/errorresources/Exceptions.h"
#include "startup/platform/errorresources/SystemErrors.h"
#include "startup/util/parser/ArgumentParserHelpers.h"

namespace windows::file {

namespace {

const char* const CREATE_FAILED = "Could not create the directory: ";
const char* const MOVE_FAILED = "Couldn't move the file: ";
const char* const DELETE_FAILED = "Couldn't delete the file: ";
const char* const SEARCH_FAILED = "Error when searhing a path. In 'SearchPath'. \nPath: ";
const char* const CHECK_FAILED = "Error when trying to check if a file exists. \n";
const char* const LIST_OPEN_FAILED =
    "Error when trying to get first level directories. \nThe error occured when opening a find "
    "file handle. Initial directory: ";
const char* const LIST_NEXT_FAILED =
    "Error when trying to get first level directories. \nThe error occured when getting the "
    "next file. Initial directory: ";

std::string systemText(DWORD code) { return SystemErrors::map(static_cast<int>(code)); }

}  // namespace

void WindowsFileHelper::createDirectory(const std::string& path) {
  if (::CreateDirectoryA(path.c_str(), nullptr)) return;
  const DWORD code = ::GetLastError();
  if (code == ERROR_ALREADY_EXISTS) return;
  throw CouldNotCreateDirectoryException(CREATE_FAILED + path + ". " + systemText(code));
}

void WindowsFileHelper::moveFile(const std::string& source, const std::string& target) {
  if (::MoveFileA(source.c_str(), target.c_str())) return;
  const DWORD code = ::GetLastError();
  throw CouldNotMoveFileException(MOVE_FAILED + source + " to " + target + "\n" + systemText(code));
}

void WindowsFileHelper::deleteFile(const std::string& path, bool failIfMissing) {
  if (::DeleteFileA(path.c_str())) return;
  const DWORD code = ::GetLastError();
  if (!failIfMissing && (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)) return;
  throw CouldNotDeleteFileException(DELETE_FAILED + path + "\n" + systemText(code));
}

bool WindowsFileHelper::fileExists(const std::string& path) {
  using util::parser::ArgumentParserHelpers;
  const std::string directory = ArgumentParserHelpers::getDirectory(path);
  const std::string fileName =
      ArgumentParserHelpers::getProgramPath(ArgumentParserHelpers::getFileName(path));
  if (fileName.empty()) return false;
  char buffer[MAX_PATH] = {};
  const DWORD result = ::SearchPathA(directory.empty() ? nullptr : directory.c_str(),
                                     fileName.c_str(), nullptr, sizeof buffer, buffer, nullptr);
  if (result != 0) {
    // Found, with a path longer than the buffer: found all the same.
    STELMAR_ASSERT(result <= sizeof(buffer));
    return true;
  }
  const DWORD code = ::GetLastError();
  // A folder that does not exist (any more) or a name no file can have: no such file.
  if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND || code == ERROR_INVALID_NAME) {
    return false;
  }
  const std::string searchText = SEARCH_FAILED + directory + "\nFilename: " + fileName +
                                 "\nExtenstion: " + "" + "\n\n" + systemText(code);
  // The search failure's text, as the check of existence reports it.
  throw CouldNotCheckIfFileExistException(CHECK_FAILED + searchText);
}

std::vector<std::string> WindowsFileHelper::getFirstLevelFiles(const std::string& folder,
                                                               const std::string& mask) {
  STELMAR_ASSERT(!folder.empty());
  std::string directory = folder;
  if (directory.empty() || directory.back() != '\\') directory += '\\';
  const std::string pattern = directory + mask;
  if (pattern.size() > MAX_PATH) {
    errorresources::assertion("mask.size() <= MAX_PATH", __FILE__, __LINE__);
  }
  std::vector<std::string> files;
  WIN32_FIND_DATAA data;
  win::UniqueFind find(::FindFirstFileA(pattern.c_str(), &data));
  if (!find) {
    const DWORD code = ::GetLastError();
    if (code == ERROR_FILE_NOT_FOUND) return files;
    throw CouldNotGetFirstLevelFilesException(LIST_OPEN_FAILED + directory + "\n\n" +
                                              systemText(code));
  }
  for (;;) {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      files.push_back(directory + data.cFileName);
    }
    if (!::FindNextFileA(find.get(), &data)) {
      const DWORD code = ::GetLastError();
      if (code == ERROR_NO_MORE_FILES) break;
      throw CouldNotGetFirstLevelFilesException(LIST_NEXT_FAILED + directory + "\n\n" +
                                                systemText(code));
    }
  }
  return files;
}

}  // namespace windows::file
