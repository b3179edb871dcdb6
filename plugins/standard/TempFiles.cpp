#include "plugins/standard/TempFiles.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "common/Unique.h"
#include "common/deletion/FileDeletion.h"

namespace orvane {

namespace {

const char* const kAllFiles = "\\*.*";

bool TempRootAccepted(const std::string& finalPath);

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

// Puts "<folder>\*.*" into a path buffer; false when it does not fit.
bool StartPattern(char* path, const std::string& folder) {
  if (folder.find('\0') != std::string::npos) return false;
  return WriteAt(path, 0, folder.c_str(), kAllFiles);
}

// Every level's path ends in "\*.*" while it is listed: a subfolder is walked only when
// that still fits one path.
deletion::FileWalk TempWalk() {
  deletion::FileWalk walk;
  walk.rootFiles = true;
  walk.subfolders = true;
  walk.folderTail = std::strlen(kAllFiles);
  walk.acceptRoot = TempRootAccepted;
  return walk;
}

Counters ToCounters(const deletion::Tally& tally) {
  Counters counters;
  counters.count = tally.entries;
  counters.size = tally.bytes;
  return counters;
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

namespace {

// The rules again, on the folder that a walk actually opened, as the system resolves it:
// a link, a mapped drive or any other alias that leads elsewhere is judged by where it
// leads.
bool TempRootAccepted(const std::string& finalPath) {
  std::string windows, system;
  if (!ReadSystemFolders(windows, system)) return false;
  const std::string canonical = CanonicalFolder(finalPath);
  return !canonical.empty() && TempFolderAccepted(Upper(canonical), Upper(windows), Upper(system));
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
  setUp.found = CountTempFiles(canonical, &setUp.seen);
  setUp.description = description;
  setUp.active = true;
  return setUp;
}

bool ReadCleanableTempFolder(std::string& folder) {
  std::string temp, windows, system;
  return ReadTempFolder(temp) && ReadSystemFolders(windows, system) &&
         CanonicalCleanable(temp, windows, system, folder);
}

Counters CountTempFiles(const std::string& folder, deletion::FileSnapshot* seen) {
  if (seen) seen->Clear();
  char path[kPathSize];
  if (!StartPattern(path, folder)) return Counters();
  return ToCounters(deletion::CountFiles(folder, TempWalk(), seen));
}

Counters DeleteTempFiles(const std::string& folder, deletion::FileSnapshot& seen, bool delSubfolders,
                         bool delReadonly) {
  char path[kPathSize];
  if (!StartPattern(path, folder)) return Counters();
  deletion::FileWalk walk = TempWalk();
  walk.removeSubfolders = delSubfolders;
  walk.deleteReadOnly = delReadonly;
  return ToCounters(deletion::DeleteFiles(folder, walk, seen));
}

}  // namespace orvane
