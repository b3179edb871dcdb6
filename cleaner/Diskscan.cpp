#include "cleaner/Diskscan.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "cleaner/Cleaning.h"
#include "common/deletion/FileDeletion.h"

using textentries::FitsPath;
using textentries::SwitchSet;

namespace {

// The system code page's upper case of every byte, made once.
const textentries::CaseFold& SystemCaseFold() {
  static const textentries::CaseFold fold = [] {
    textentries::CaseFold f;
    char bytes[256];
    for (int i = 0; i < 256; ++i) bytes[i] = static_cast<char>(i);
    CharUpperBuffA(bytes + 1, 255);
    for (int i = 0; i < 256; ++i) f.upper[i] = static_cast<unsigned char>(bytes[i]);
    return f;
  }();
  return fold;
}

// The mask is matched against the long name only: the system's own search would match it
// against short (8.3) names too, and "*.tmp" would then take "report.tmpl".
bool MatchesMask(const char* name, const void* mask) {
  return textentries::MatchesMask(name, static_cast<const char*>(mask), SystemCaseFold());
}

// Counting and deletion both walk through here, so they skip exactly the same files,
// links and paths that would not fit, and the found and cleaned figures agree.
bool MakeWalk(const char* folder, const char* mask, SwitchSet switches, deletion::FileWalk& walk) {
  const std::size_t length = std::strlen(folder);
  // The level's listing pattern ("*") must fit after the folder.
  if (length == 0 || !FitsPath(length + 1) || folder[length - 1] != '\\') return false;
  walk.accept = MatchesMask;
  walk.context = mask;
  walk.rootFiles = !switches.subfoldersOnly;
  walk.subfolders = switches.subfolders;
  walk.folderTail = 1;
  return walk.rootFiles || walk.subfolders;
}

WalkResult Result(const deletion::Tally& tally) {
  WalkResult result;
  result.entries = tally.entries;
  result.bytes = tally.bytes;
  return result;
}

// A drive root ("C:\") or a share's root is never removed.
bool IsRoot(const char* folder) {
  const std::size_t length = std::strlen(folder);
  return length < 2 || folder[length - 2] == ':' || folder[length - 2] == '\\';
}

}  // namespace

WalkResult CountFolder(const char* folder, const char* mask, SwitchSet switches, deletion::FileSnapshot* seen) {
  if (seen) seen->Clear();
  deletion::FileWalk walk;
  if (!MakeWalk(folder, mask, switches, walk)) return WalkResult();
  return Result(deletion::CountFiles(folder, walk, seen));
}

WalkResult DeleteFolder(const char* folder, const char* mask, SwitchSet switches, deletion::FileSnapshot& seen) {
  deletion::FileWalk walk;
  if (!MakeWalk(folder, mask, switches, walk)) return WalkResult();
  walk.removeSubfolders = true;
  walk.removeRoot = switches.includeFolder && !IsRoot(folder);
  walk.deleteReadOnly = true;
  // Only what the system took counts: without administrator rights the NT family
  // refuses to schedule anything.
  if (RemoveOnReboot) {
    walk.scheduleInUse = [](const std::wstring& exactPath, const std::string& path) {
      if (!ScheduleRemovalAtRestart(exactPath, path.c_str())) return false;
      ++RebootFileCount;
      return true;
    };
  }
  return Result(deletion::DeleteFiles(folder, walk, seen));
}

namespace {

bool NtFamily() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  return !GetVersionExA(&version) || version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace

bool ScheduleRemovalAtRestart(const char* path) { return ScheduleRemovalAtRestart(path, NtFamily()); }

bool ScheduleRemovalAtRestart(const std::wstring& exactPath, const char* path) {
  if (NtFamily()) return MoveFileExW(exactPath.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
  // The older family reads plain paths, in which a name ending in a dot or a blank would
  // name another file.
  const std::size_t length = std::strlen(path);
  for (std::size_t i = 1; i <= length; ++i) {
    if ((i == length || path[i] == '\\') && (path[i - 1] == '.' || path[i - 1] == ' ')) return false;
  }
  return length > 0 && ScheduleRemovalAtRestart(path, false);
}

bool ScheduleRemovalAtRestart(const char* path, bool ntFamily) {
  if (ntFamily) return MoveFileExA(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
  char windows[MAX_PATH];
  const UINT n = GetWindowsDirectoryA(windows, sizeof windows);
  if (n == 0 || n >= sizeof windows) return false;
  const std::string file = std::string(windows) + diskscan::kWininitFile;
  // Every file keeps its own "NUL" line, so the key cannot simply be written: the whole
  // section is read and written back with one more line. A section that cannot be read
  // whole is left alone rather than cut.
  std::vector<char> section(4096);
  DWORD length = 0;
  for (;;) {
    length = GetPrivateProfileSectionA(diskscan::kRenameSection, section.data(),
                                       static_cast<DWORD>(section.size()), file.c_str());
    if (length < section.size() - 2) break;
    if (section.size() >= (1u << 24)) return false;
    section.resize(section.size() * 2);
  }
  std::string text(section.data(), length);  // lines, each with its terminator
  if (!text.empty() && text.back() != 0) text.push_back(0);
  text += diskscan::kRenameKey;
  text += '=';
  text += path;
  text.push_back(0);
  text.push_back(0);
  return WritePrivateProfileSectionA(diskscan::kRenameSection, text.c_str(), file.c_str()) != FALSE;
}
