#include "plugins/standard/TempFiles.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <vector>

#include "common/Unique.h"
#include "common/deletion/FileDeletion.h"

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
  walk.acceptRoot = AcceptTempRoot;
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

using GetFinalPathFn = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);

// GetFinalPathNameByHandleA, which systems before Vista lack.
GetFinalPathFn FinalPathEntry() {
  static const GetFinalPathFn entry = [] {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel ? reinterpret_cast<GetFinalPathFn>(
                        reinterpret_cast<void*>(GetProcAddress(kernel, "GetFinalPathNameByHandleA")))
                  : nullptr;
  }();
  return entry;
}

// Opens a folder as what it is, links on the way followed (its final object). Without
// FILE_SHARE_DELETE: while it is held, nobody can rename or remove it.
win::UniqueFile OpenFolder(const std::string& path) {
  win::UniqueFile folder(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES | FILE_LIST_DIRECTORY,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION information;
  if (folder && (!GetFileInformationByHandle(folder.get(), &information) ||
                 !(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)))
    folder.reset();
  return folder;
}

// The final path of an open folder as the system resolves it: junctions, mapped drives,
// "Sysnative" and the 32-bit view of the system folder all resolved. Without the newer
// call, the full long path, refused when any folder on the way is a link (its target
// cannot be told then).
std::string FinalPath(HANDLE folder, const std::string& path) {
  if (GetFinalPathFn final = FinalPathEntry()) {
    std::vector<char> buffer(kPathSize);
    for (;;) {
      const DWORD length = final(folder, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
      if (length == 0) return std::string();
      if (length < buffer.size()) return CanonicalFolder(std::string(buffer.data(), length));
      buffer.resize(length + 1);
    }
  }
  char full[kPathSize];
  char longPath[kPathSize];
  const DWORD fullLength = GetFullPathNameA(path.c_str(), kPathSize, full, nullptr);
  if (fullLength == 0 || fullLength >= kPathSize) return std::string();
  const DWORD longLength = GetLongPathNameA(full, longPath, kPathSize);
  if (longLength == 0 || longLength >= kPathSize) return std::string();
  std::size_t rootLength = 0;
  const std::string canonical = CanonicalFolder(std::string(longPath, longLength), &rootLength);
  for (std::size_t at = canonical.size(); at > rootLength; at = canonical.find_last_of('\\', at - 1)) {
    const DWORD attributes = GetFileAttributesA(canonical.substr(0, at).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return std::string();
  }
  return canonical;
}

std::string FinalPathOf(const std::string& path) {
  win::UniqueFile folder = OpenFolder(path);
  return folder ? FinalPath(folder.get(), path) : std::string();
}

// A folder's identity: its volume and its index there. Two names of one folder (a mapped
// drive, a share of the local disk) have the same.
struct FolderId {
  DWORD volume = 0, high = 0, low = 0;
  bool operator==(const FolderId& o) const { return volume == o.volume && high == o.high && low == o.low; }
};

bool IdentityOf(const std::string& path, FolderId& id) {
  win::UniqueFile folder = OpenFolder(path);
  BY_HANDLE_FILE_INFORMATION information;
  if (!folder || !GetFileInformationByHandle(folder.get(), &information)) return false;
  id = {information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
  return true;
}

// The folder and every folder above it, the root included.
std::vector<FolderId> ChainOf(const std::string& finalPath) {
  std::vector<FolderId> chain;
  std::size_t rootLength = 0;
  std::string folder = CanonicalFolder(finalPath, &rootLength);
  while (!folder.empty()) {
    FolderId id;
    if (IdentityOf(folder.size() == rootLength ? folder + "\\" : folder, id)) chain.push_back(id);
    if (folder.size() <= rootLength) break;
    folder.resize(folder.find_last_of('\\'));
  }
  return chain;
}

std::string ShellFolder(int csidl) {
  char path[MAX_PATH];
  return SHGetFolderPathA(nullptr, csidl, nullptr, 0, path) == S_OK ? std::string(path) : std::string();
}

std::string Variable(const char* name) {
  std::string value;
  return ReadVariable(name, value) ? value : std::string();
}

// Every user's profile root that the system lists, and the folder of the profiles.
void Profiles(SystemFolders& folders) {
  const char* const kProfileList = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
  win::UniqueKey list;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProfileList, 0, KEY_READ | KEY_WOW64_64KEY, list.put()) != ERROR_SUCCESS)
    return;
  auto expanded = [](HKEY key, const char* name) {
    char raw[kPathSize];
    DWORD size = sizeof raw - 1;
    DWORD type = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(raw), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
      return std::string();
    raw[size] = '\0';
    char path[kPathSize];
    const DWORD length = ExpandEnvironmentStringsA(raw, path, kPathSize);
    return length > 0 && length <= kPathSize ? std::string(path) : std::string();
  };
  folders.users = expanded(list.get(), "ProfilesDirectory");
  char name[kPathSize];
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof name;
    if (RegEnumKeyExA(list.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    win::UniqueKey profile;
    if (RegOpenKeyExA(list.get(), name, 0, KEY_READ | KEY_WOW64_64KEY, profile.put()) != ERROR_SUCCESS) continue;
    const std::string path = expanded(profile.get(), "ProfileImagePath");
    if (!path.empty()) folders.profiles.push_back(path);
  }
}

// The folders the rules name, each as the system resolves it (where it can be opened).
SystemFolders CurrentSystemFolders(const std::string& windows, const std::string& system) {
  SystemFolders folders;
  folders.windows = windows;
  folders.system = system;
  Profiles(folders);
  const std::string profile = ShellFolder(CSIDL_PROFILE);
  if (!profile.empty()) {
    folders.profiles.push_back(profile);
    if (folders.users.empty()) folders.users = profile.substr(0, profile.find_last_of('\\'));
  }
  for (const std::string& kept :
       {ShellFolder(CSIDL_COMMON_APPDATA), ShellFolder(CSIDL_PROGRAM_FILES), ShellFolder(CSIDL_PROGRAM_FILESX86),
        Variable("ProgramData"), Variable("ProgramFiles"), Variable("ProgramFiles(x86)"), Variable("ProgramW6432")})
    if (!kept.empty()) folders.kept.push_back(kept);
  // Each also as the system resolves it: a folder reached through a link is judged by both names.
  SystemFolders resolved = folders;
  for (const std::string& single : {folders.windows, folders.system, folders.users}) {
    const std::string final = FinalPathOf(single);
    if (!final.empty()) resolved.kept.push_back(final);
  }
  for (const std::string& kept : folders.kept) {
    const std::string final = FinalPathOf(kept);
    if (!final.empty()) resolved.kept.push_back(final);
  }
  for (const std::string& profile : folders.profiles) {
    const std::string final = FinalPathOf(profile);
    if (!final.empty()) resolved.profiles.push_back(final);
  }
  return resolved;
}

}  // namespace

bool AcceptTempRoot(const std::string& finalPath) {
  std::string windows, system;
  if (!ReadSystemFolders(windows, system)) return false;
  const SystemFolders folders = CurrentSystemFolders(windows, system);
  if (!TempRootAccepted(finalPath, folders)) return false;
  // By identity too: a drive letter or a share may name the same folders under other names.
  const std::vector<FolderId> chain = ChainOf(finalPath);
  if (chain.empty()) return false;
  FolderId id;
  for (const std::string& inside : {windows, system})
    if (IdentityOf(inside, id))
      for (const FolderId& above : chain)
        if (above == id) return false;
  std::vector<std::string> never = folders.kept;
  never.insert(never.end(), folders.profiles.begin(), folders.profiles.end());
  never.push_back(folders.users);
  for (const std::string& folder : never) {
    if (folder.empty()) continue;
    for (const FolderId& held : ChainOf(folder))
      if (held == chain.front()) return false;  // it, or a folder above it
  }
  return true;
}

namespace {

// The final path of the folder held open, when the rules accept it, its pattern fits the
// walks' path buffer, and the walks, which go by that path, reach that very folder.
std::string CleanableRoot(HANDLE held, const std::string& temp) {
  const std::string folder = FinalPath(held, temp);
  char path[kPathSize];
  BY_HANDLE_FILE_INFORMATION information;
  FolderId walked;
  if (folder.empty() || !AcceptTempRoot(folder) || !StartPattern(path, folder) ||
      !GetFileInformationByHandle(held, &information) || !IdentityOf(folder, walked) ||
      !(walked == FolderId{information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow}))
    return std::string();
  return folder;
}

bool CanonicalCleanable(const std::string& temp, std::string& canonical) {
  win::UniqueFile held = OpenFolder(temp);
  canonical = held ? CleanableRoot(held.get(), temp) : std::string();
  return !canonical.empty();
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
  if (!CanonicalCleanable(temp, canonical)) return setUp;
  setUp.found = CountTempFiles(canonical, &setUp.seen);
  setUp.description = description;
  setUp.active = true;
  return setUp;
}

bool ReadCleanableTempFolder(std::string& folder) {
  std::string temp;
  return ReadTempFolder(temp) && CanonicalCleanable(temp, folder);
}

Counters CleanTempFolder(deletion::FileSnapshot& seen, bool delSubfolders, bool delReadonly) {
  std::string temp;
  if (!ReadTempFolder(temp)) return Counters();
  // Decided again on the folder actually opened, which stays held (and so cannot be
  // renamed or swapped) while it is emptied.
  win::UniqueFile held = OpenFolder(temp);
  const std::string folder = held ? CleanableRoot(held.get(), temp) : std::string();
  return folder.empty() ? Counters() : DeleteTempFiles(folder, seen, delSubfolders, delReadonly);
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
