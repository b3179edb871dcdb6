#include "plugins/standard/TempFiles.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "common/Unique.h"

namespace orvane {

namespace {

const char* const kAllFiles = "\\*.*";

// Reads an environment variable; a value longer than the 260-character buffer is read
// again into a buffer of the size the platform reports.
bool ReadVariable(const char* name, std::string& value) {
  char buffer[kPathSize];
  DWORD length = GetEnvironmentVariableA(name, buffer, kPathSize);
  if (length == 0) return false;
  if (length < kPathSize) {
    value.assign(buffer, length);
    return true;
  }
  std::vector<char> larger(length);
  const DWORD again = GetEnvironmentVariableA(name, larger.data(), length);
  if (again == 0 || again >= length) return false;
  value.assign(larger.data(), again);
  return true;
}

std::string Upper(std::string text) {
  if (!text.empty()) CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
  return text;
}

bool IsDotName(const char* name) {
  return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

bool IsEnterableFolder(const WIN32_FIND_DATAA& data) {
  return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && !IsDotName(data.cFileName);
}

long long FileSize(const WIN32_FIND_DATAA& data) {
  return static_cast<long long>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) |
                                data.nFileSizeLow);
}

// `path` holds a level's pattern ending in "\*.*"; names are written at `at`, over the "*.*".
void CountLevel(char* path, std::size_t at, Counters& found) {
  WIN32_FIND_DATAA data;
  win::UniqueFind find(FindFirstFileA(path, &data));
  if (!find) return;
  do {
    if (IsEnterableFolder(data) && WriteAt(path, at, data.cFileName, kAllFiles)) {
      CountLevel(path, at + std::strlen(data.cFileName) + 1, found);
    }
    // The deletion walk skips a file whose path does not fit; so does the count.
    if (IsMatchingFile(data.dwFileAttributes) && at + std::strlen(data.cFileName) < kPathSize) {
      found.count += 1;
      found.size += FileSize(data);
    }
  } while (FindNextFileA(find.get(), &data));
}

struct DeleteOptions {
  bool delSubfolders;
  bool delReadonly;
};

void DeleteLevel(char* path, std::size_t at, const DeleteOptions& options, Counters& cleaned) {
  WIN32_FIND_DATAA data;
  win::UniqueFind find(FindFirstFileA(path, &data));
  if (!find) return;
  do {
    if (IsEnterableFolder(data)) {
      if (!WriteAt(path, at, data.cFileName, kAllFiles)) continue;
      const std::size_t inner = at + std::strlen(data.cFileName) + 1;
      DeleteLevel(path, inner, options, cleaned);
      if (options.delSubfolders) {
        path[inner - 1] = '\0';  // the subfolder's path, without its trailing backslash
        RemoveDirectoryA(path);  // succeeds only when it is empty
      }
      continue;
    }
    if (!IsMatchingFile(data.dwFileAttributes)) continue;
    if (!WriteAt(path, at, data.cFileName, "")) continue;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) && options.delReadonly) {
      SetFileAttributesA(path, data.dwFileAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    }
    if (DeleteFileA(path)) {
      cleaned.count += 1;
      cleaned.size += FileSize(data);
    }
  } while (FindNextFileA(find.get(), &data));
}

// Puts "<folder>\*.*" into a path buffer; false when it does not fit.
bool StartPattern(char* path, const std::string& folder) {
  if (folder.find('\0') != std::string::npos) return false;
  return WriteAt(path, 0, folder.c_str(), kAllFiles);
}

}  // namespace

bool ReadTempFolder(std::string& folder) {
  if (ReadVariable("TMP", folder) && !folder.empty()) return true;
  return ReadVariable("TEMP", folder) && !folder.empty();
}

namespace {

// The Windows and system folders; false when either cannot be read into its buffer.
bool ReadSystemFolders(std::string& windowsFolder, std::string& systemFolder) {
  char windows[kPathSize];
  char system[kPathSize];
  const UINT windowsLength = GetWindowsDirectoryA(windows, kPathSize);
  if (windowsLength == 0 || windowsLength > kPathSize) return false;
  const UINT systemLength = GetSystemDirectoryA(system, kPathSize);
  if (systemLength == 0 || systemLength > kPathSize) return false;
  windowsFolder.assign(windows, windowsLength);
  systemFolder.assign(system, systemLength);
  return true;
}

// The folder as the system resolves it (relative parts, ".", "..", trailing separators,
// blanks and dots): the rules judge that folder, and the walks clean that folder.
bool CanonicalCleanable(const std::string& temp, const std::string& windows, const std::string& system,
                        std::string& canonical) {
  char full[kPathSize];
  const DWORD length = GetFullPathNameA(temp.c_str(), kPathSize, full, nullptr);
  if (length == 0 || length >= kPathSize) return false;
  canonical = CanonicalFolder(std::string(full, length));
  char path[kPathSize];
  // A folder whose pattern does not fit the path buffer could be neither counted nor cleaned.
  return !canonical.empty() && TempFolderAccepted(Upper(canonical), Upper(windows), Upper(system)) &&
         StartPattern(path, canonical);
}

}  // namespace

TempSetUp SetUpTempItem() {
  TempSetUp setUp;
  std::string temp, windows, system;
  const bool haveTemp = ReadTempFolder(temp);
  if (!ReadSystemFolders(windows, system)) return setUp;
  if (!haveTemp || temp.size() < 4) return setUp;
  const std::string description = TempItemDescription(temp);
  std::string canonical;
  if (!CanonicalCleanable(temp, windows, system, canonical)) return setUp;
  setUp.found = CountTempFiles(canonical);
  setUp.description = description;
  setUp.active = true;
  return setUp;
}

bool ReadCleanableTempFolder(std::string& folder) {
  std::string temp, windows, system;
  return ReadTempFolder(temp) && ReadSystemFolders(windows, system) &&
         CanonicalCleanable(temp, windows, system, folder);
}

Counters CountTempFiles(const std::string& folder) {
  Counters found;
  char path[kPathSize];
  if (StartPattern(path, folder)) CountLevel(path, folder.size() + 1, found);
  return found;
}

Counters DeleteTempFiles(const std::string& folder, bool delSubfolders, bool delReadonly) {
  Counters cleaned;
  char path[kPathSize];
  if (StartPattern(path, folder)) {
    DeleteLevel(path, folder.size() + 1, DeleteOptions{delSubfolders, delReadonly}, cleaned);
  }
  return cleaned;
}

}  // namespace orvane
