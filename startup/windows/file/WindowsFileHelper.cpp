#include "startup/windows/file/WindowsFileHelper.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cctype>

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

const char* const ICON_FAILED = "Error when trying to extract icon from ";
const char* const LONG_PATH_FAILED = "Error converting the filename, ";
const char* const LONG_PATH_FAILED_END = ", to a long path. ";
const char* const LONG_PATH_INVALID = "Input path invalid.";
const char* const LONG_PATH_PARSING = "Parsing error.";
const char* const CURRENT_DIRECTORY_FAILED = "Couldn't get the current directory.\n ";
const char* const SET_DIRECTORY_FAILED = "Could not set the directory, ";
const char* const SET_DIRECTORY_FAILED_END = ", to the current directory. ";
const char* const MODULE_NAME_FAILED =
    "Could not get the module filename for the current process: ";

std::string systemText(DWORD code) { return SystemErrors::map(static_cast<int>(code)); }

bool startsWithDrive(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

// How many leading characters of a (backslashed) path name no listable component: "C:\",
// a single leading "\", or the server and share of "\\server\share\".
std::size_t rootLength(const std::string& path) {
  if (startsWithDrive(path)) return 3;
  if (path.compare(0, 2, "\\\\") == 0) {
    const std::size_t server = path.find('\\', 2);
    const std::size_t share = server == std::string::npos ? server : path.find('\\', server + 1);
    return share == std::string::npos ? path.size() : share + 1;
  }
  return !path.empty() && path[0] == '\\' ? 1 : 0;
}

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

std::optional<std::string> WindowsFileHelper::findFile(const std::string& path) {
  using util::parser::ArgumentParserHelpers;
  const std::string directory = ArgumentParserHelpers::getDirectory(path);
  const std::string fileName =
      ArgumentParserHelpers::getProgramPath(ArgumentParserHelpers::getFileName(path));
  if (fileName.empty()) return std::nullopt;
  char buffer[MAX_PATH] = {};
  const DWORD result = ::SearchPathA(directory.empty() ? nullptr : directory.c_str(),
                                     fileName.c_str(), nullptr, sizeof buffer, buffer, nullptr);
  if (result != 0) {
    // Found, with a path longer than the buffer: found all the same, under the name asked for.
    STELMAR_ASSERT(result <= sizeof(buffer));
    return result < sizeof(buffer) ? std::string(buffer, result) : directory + fileName;
  }
  const DWORD code = ::GetLastError();
  // A folder that does not exist (any more) or a name no file can have: no such file.
  if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND || code == ERROR_INVALID_NAME) {
    return std::nullopt;
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

win::UniqueIcon WindowsFileHelper::extractAssociatedIcon(const std::string& path) {
  // The shell writes the path of the icon's file back into the buffer it is given.
  char buffer[MAX_PATH] = {};
  if (path.size() >= MAX_PATH) {
    errorresources::assertion("path.size() < MAX_PATH", __FILE__, __LINE__);
    // A cut path names another file, whose icon would be the wrong one.
    throw CouldNotExtractAssosiatedIconExcpetion(ICON_FAILED + path + "\n\n" +
                                                 systemText(ERROR_FILENAME_EXCED_RANGE));
  }
  path.copy(buffer, path.size());
  WORD index = 0;
  win::UniqueIcon icon(::ExtractAssociatedIconA(::GetModuleHandleA(nullptr), buffer, &index));
  if (!icon) {
    const DWORD code = ::GetLastError();
    throw CouldNotExtractAssosiatedIconExcpetion(ICON_FAILED + path + "\n\n" + systemText(code));
  }
  return icon;
}

std::string WindowsFileHelper::toLongPath(const std::string& path) {
  const std::string failure = LONG_PATH_FAILED + path + LONG_PATH_FAILED_END;
  if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    throw CouldNotConvertShortPathToLongPathException(failure + LONG_PATH_INVALID);
  }
  std::string work = path;
  std::replace(work.begin(), work.end(), '/', '\\');
  if (startsWithDrive(work) && (work.size() < 3 || work[2] != '\\')) {
    throw CouldNotConvertShortPathToLongPathException(failure + LONG_PATH_PARSING);
  }
  std::size_t start = rootLength(work);
  std::string result = work.substr(0, start);
  while (start < work.size()) {
    std::size_t end = work.find('\\', start);
    if (end == std::string::npos) end = work.size();
    const std::string component = work.substr(start, end - start);
    if (component.empty() || component == "." || component == "..") {
      result += component;
    } else {
      WIN32_FIND_DATAA data;
      win::UniqueFind find(::FindFirstFileA((result + component).c_str(), &data));
      if (!find) {
        const DWORD code = ::GetLastError();
        throw CouldNotConvertShortPathToLongPathException(failure + systemText(code));
      }
      result += data.cFileName;
    }
    if (end < work.size()) result += '\\';
    start = end + 1;
  }
  return result;
}

std::string WindowsFileHelper::getCurrentDirectory() {
  char buffer[MAX_PATH] = {};
  const DWORD length = ::GetCurrentDirectoryA(sizeof buffer, buffer);
  if (length == 0 || length >= sizeof buffer) {
    const DWORD code = length == 0 ? ::GetLastError() : ERROR_INSUFFICIENT_BUFFER;
    throw CouldNotGetCurrentDirectoryException(CURRENT_DIRECTORY_FAILED + systemText(code));
  }
  std::string directory(buffer, length);
  // A drive's root already ends in its backslash.
  if (directory.back() != '\\') directory += '\\';
  return directory;
}

std::string WindowsFileHelper::getProgramDirectory() {
  char buffer[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  // A name that fills the buffer was cut.
  if (length == 0 || length >= sizeof buffer) {
    const DWORD code = length == 0 ? ::GetLastError() : ERROR_INSUFFICIENT_BUFFER;
    throw CouldNotGetModuleFileNameException(MODULE_NAME_FAILED + systemText(code));
  }
  return util::parser::ArgumentParserHelpers::getDirectory(std::string(buffer, length));
}

void WindowsFileHelper::setCurrentDirectory(const std::string& path) {
  if (::SetCurrentDirectoryA(path.c_str())) return;
  const DWORD code = ::GetLastError();
  throw CouldNotSetCurrentDirectoryException(SET_DIRECTORY_FAILED + path +
                                             SET_DIRECTORY_FAILED_END + systemText(code));
}

}  // namespace windows::file
