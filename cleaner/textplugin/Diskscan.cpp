#include "cleaner/textplugin/Diskscan.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "cleaner/textplugin/Progress.h"

using textentries::FitsPath;
using textentries::IsMatchingFile;
using textentries::IsWalkedFolder;
using textentries::kPathBufferSize;
using textentries::PutName;
using textentries::SwitchSet;

long long RebootFileCount = 0;
bool RemoveOnReboot = false;

namespace {

// The one path buffer of a walk and its running result. Every level writes its names
// just after its own folder's '\' and never copies the path.
struct WalkState {
  char path[kPathBufferSize];
  WalkResult result;
  // The subfolders each level of the current branch has yet to enter, names ended by a
  // NUL: reused by every level and walk of the thread, so it grows but is not allocated
  // per folder.
  std::string pending;
};
thread_local WalkState countState;
thread_local WalkState deleteState;

// What a level needs besides the buffer; the same for every level of one walk.
struct Walk {
  WalkState& state;
  const char* mask;
  SwitchSet below;  // the switches of every level under the named folder
};

// The find handle of one enumeration. The walks need no error code after closing, so the
// close is the bare call: this runs once per folder on the start-up's hot path.
class FindScope {
 public:
  FindScope(const char* pattern, WIN32_FIND_DATAA& data) : find_(FindFirstFileA(pattern, &data)) {}
  ~FindScope() {
    if (find_ != INVALID_HANDLE_VALUE) FindClose(find_);
  }
  FindScope(const FindScope&) = delete;
  FindScope& operator=(const FindScope&) = delete;
  explicit operator bool() const { return find_ != INVALID_HANDLE_VALUE; }
  bool Next(WIN32_FIND_DATAA& data) const { return FindNextFileA(find_, &data) != FALSE; }

 private:
  HANDLE find_;
};

long long FileSize(const WIN32_FIND_DATAA& data) {
  return static_cast<long long>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) +
                                data.nFileSizeLow);
}

// Starts the walk: the named folder in the buffer, or false when it does not fit.
bool StartWalk(WalkState& state, const char* folder, std::size_t& length) {
  state.result = WalkResult();
  state.pending.clear();
  length = std::strlen(folder);
  if (!FitsPath(length) || length == 0 || folder[length - 1] != '\\') return false;
  std::memcpy(state.path, folder, length + 1);
  return true;
}

// One level of a walk: one listing of everything in the folder serves both the files that
// match the mask and the subfolders it enters. The mask is matched here against the long
// name only: the system's own search would match it against short (8.3) names too, and
// "*.tmp" would then take "report.tmpl". Counting and deletion both run through here, so
// they skip exactly the same files, links and paths that would not fit, and the found and
// cleaned figures agree. A level's files are handled during the listing, its subfolders
// after it (with its find handle closed), and the level itself is removed by its caller.
template <typename Visit>
void WalkLevel(const Walk& walk, std::size_t at, SwitchSet switches) {
  const bool files = !switches.subfoldersOnly;
  if (!files && !switches.subfolders) return;
  char* const path = walk.state.path;
  std::string& pending = walk.state.pending;
  const std::size_t first = pending.size();
  if (!PutName(path, at, diskscan::kEverything, 1, false)) return;
  {
    WIN32_FIND_DATAA data;
    const FindScope find(path, data);
    if (!find) return;
    const textentries::CaseFold& fold = SystemCaseFold();
    do {
      progress::Working();
      const std::size_t nameLength = std::strlen(data.cFileName);
      if (files && IsMatchingFile(data.dwFileAttributes)) {
        // A file whose path would not fit can be neither deleted nor counted.
        if (FitsPath(at + nameLength) && textentries::MatchesMask(data.cFileName, walk.mask, fold))
          Visit::File(path, at, nameLength, data, walk.state.result);
      } else if (switches.subfolders && IsWalkedFolder(data.dwFileAttributes, data.cFileName) &&
                 FitsPath(at + nameLength + 1)) {
        pending.append(data.cFileName, nameLength + 1);
      }
    } while (find.Next(data));
  }
  // The subfolders come after all the level's files, in the order they were listed.
  for (std::size_t name = first; name < pending.size();) {
    const std::size_t nameLength = std::strlen(pending.c_str() + name);
    const std::size_t end = PutName(path, at, pending.c_str() + name, nameLength, true);
    name += nameLength + 1;
    if (!end) continue;
    WalkLevel<Visit>(walk, end, walk.below);
    Visit::FolderDone(path, end);
  }
  pending.resize(first);
}

struct CountVisit {
  static void File(char*, std::size_t, std::size_t, const WIN32_FIND_DATAA& data, WalkResult& result) {
    ++result.entries;
    result.bytes += FileSize(data);
  }
  static void FolderDone(char*, std::size_t) {}
};

struct DeleteVisit {
  static void File(char* path, std::size_t at, std::size_t nameLength, const WIN32_FIND_DATAA& data,
                   WalkResult& result) {
    PutName(path, at, data.cFileName, nameLength, false);
    if (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
      DWORD attributes = data.dwFileAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
      if (attributes == 0) attributes = FILE_ATTRIBUTE_NORMAL;
      SetFileAttributesA(path, attributes);
    }
    if (DeleteFileA(path)) {
      ++result.entries;
      result.bytes += FileSize(data);
      return;
    }
    // Only what the system took counts: without administrator rights the NT family
    // refuses to schedule anything.
    if (RemoveOnReboot && ScheduleRemovalAtRestart(path)) ++RebootFileCount;
  }
  // An emptied subfolder goes; one that still holds something stays.
  static void FolderDone(char* path, std::size_t end) {
    path[end - 1] = 0;  // the subfolder's own path
    RemoveDirectoryA(path);
  }
};

// Removes the named folder when it is empty. A link named by the plug-in is left in
// place: removing it would cut off whatever the user keeps behind it.
void RemoveNamedFolder(char* path, std::size_t length) {
  if (length < 2 || path[length - 2] == ':' || path[length - 2] == '\\') return;  // a root
  path[length - 1] = 0;
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return;
  RemoveDirectoryA(path);
}

}  // namespace

namespace {

// Walks `folder` with the walk's own buffer; false when the folder does not fit it.
template <typename Visit>
bool RunWalk(WalkState& state, const char* folder, const char* mask, SwitchSet switches,
             std::size_t& length) {
  if (!StartWalk(state, folder, length)) return false;
  SwitchSet below = switches;
  below.subfoldersOnly = false;
  const Walk walk{state, mask, below};
  WalkLevel<Visit>(walk, length, switches);
  return true;
}

}  // namespace

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

WalkResult CountFolder(const char* folder, const char* mask, SwitchSet switches) {
  std::size_t length = 0;
  return RunWalk<CountVisit>(countState, folder, mask, switches, length) ? countState.result : WalkResult();
}

WalkResult DeleteFolder(const char* folder, const char* mask, SwitchSet switches) {
  std::size_t length = 0;
  if (!RunWalk<DeleteVisit>(deleteState, folder, mask, switches, length)) return WalkResult();
  if (switches.includeFolder) {
    std::memcpy(deleteState.path, folder, length + 1);
    RemoveNamedFolder(deleteState.path, length);
  }
  return deleteState.result;
}

bool ScheduleRemovalAtRestart(const char* path) {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  const bool ntFamily = !GetVersionExA(&version) || version.dwPlatformId == VER_PLATFORM_WIN32_NT;
  return ScheduleRemovalAtRestart(path, ntFamily);
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
