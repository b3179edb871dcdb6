// The one way files and folders are counted and deleted by the cleaner and its standard
// plug-in. A walk lists each folder through a handle of its own, and deletes an object
// only when it is the object that the listing showed inside the named folder and that the
// count before it saw unchanged:
// - links (junctions, symbolic links, any reparse point) found inside the tree are left
//   alone: never entered, never deleted, never deleted through;
// - every name is used exactly as listed, relative to the handle of its folder, so the
//   system never rewrites it ("abcd." beside "abcd", "lnk." beside a link "lnk");
// - a folder is entered only when the object opened under its name, without following a
//   link, is a plain folder with the identity the listing gave;
// - a file is deleted through a handle, after checking that the handle holds the counted
//   file (identity, size and last write time);
// - no attribute of an object that stays is changed: a read-only mark cleared for a delete
//   is put back, also when the delete succeeds, for the file's other names (hard links).
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "common/deletion/FileSnapshot.h"

namespace deletion {

struct Tally {
  long long entries = 0;  // files
  long long bytes = 0;
};

// One path: 259 characters and the terminator. A file or folder whose path would not fit
// (in the system code page) is left out of every walk, counting and deletion alike.
constexpr std::size_t kPathLimit = 260;

struct FileWalk {
  // Which files are taken, by their long name in the system code page. Null: every file.
  // Folders, links, system and offline files are never taken.
  bool (*accept)(const char* name, const void* context) = nullptr;
  const void* context = nullptr;
  bool rootFiles = true;    // the files directly in the named folder (false: only below it)
  bool subfolders = false;  // every folder below it, at any depth
  // Characters a subfolder's path must leave free after its name to be walked: 1 for a
  // closing '\', 4 for "\*.*".
  std::size_t folderTail = 1;

  // Deletion only.
  bool removeSubfolders = false;  // remove each walked subfolder once it is empty
  bool removeRoot = false;        // and the named folder itself, unless it is a link
  bool deleteReadOnly = true;     // delete read-only files too
  // A counted file that is in use (it cannot be deleted now): called with its path in
  // both forms ("\\?\C:\..." keeps the name exactly, the plain form for older systems);
  // true when the file was handed over for removal at restart.
  std::function<bool(const std::wstring& exactPath, const std::string& path)> scheduleInUse;

  // Called once per walk with the final path of the named folder as the system resolves
  // the folder that was opened (links, mapped drives and aliases resolved; "C:\...",
  // or "\\server\share\..."), before anything under it is listed or deleted. False
  // refuses the whole walk.
  std::function<bool(const std::string& finalPath)> acceptRoot;

  // Called for every listed entry, to keep a window responsive during long walks.
  void (*working)() = nullptr;

  // For tests only: called with a subfolder's path after its folder was listed and
  // before it is entered.
  void (*beforeEnter)(const std::string& path) = nullptr;
  // For tests only: walk by paths, as on systems without the native calls.
  bool byPaths = false;
};

// Counts the files `walk` takes under `folder` (a full path, with or without its closing
// '\'); when `seen` is given, it is cleared and keeps what was counted.
Tally CountFiles(const std::string& folder, const FileWalk& walk, FileSnapshot* seen);

// Deletes the files that `seen` kept and that are still there unchanged; files added or
// changed since are kept and not counted. Only the folders the count walked are entered.
// The result never exceeds the count. Each file is taken once: `seen` is used up.
Tally DeleteFiles(const std::string& folder, const FileWalk& walk, FileSnapshot& seen);

}  // namespace deletion
