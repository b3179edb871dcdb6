// What a counting walk saw, kept so that the deletion walk after it removes only those
// files, unchanged. No Windows call: built natively too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace deletion {

// One counted file: its identity (the file system's file id, or a hash of its name where
// the file system gives none), its size and its last write time. 24 bytes a file; names
// are not kept, so a million counted files cost about 24 MB.
struct SeenFile {
  std::uint64_t key;
  std::int64_t size;  // -1 once the file has been taken
  std::uint64_t writeTime;
};

class FileSnapshot {
 public:
  void Clear();
  // Counting: the files of one folder, between BeginFolder and EndFolder. A folder seen
  // twice (it cannot be, short of a bug) keeps its first record.
  void BeginFolder(std::uint64_t folderKey);
  void AddFile(std::uint64_t key, std::int64_t size, std::uint64_t writeTime);
  void EndFolder();

  // Deletion: whether the count saw this folder. Its files are then looked up by index.
  bool HasFolder(std::uint64_t folderKey, std::size_t& folderIndex) const;
  // True, once per counted file, when the folder held a file of this identity, size and
  // last write time when it was counted. A second name of a hard-linked file counts as a
  // file of its own, as it did when it was counted.
  bool Take(std::size_t folderIndex, std::uint64_t key, std::int64_t size, std::uint64_t writeTime);

  std::size_t fileCount() const { return files_.size(); }
  std::size_t folderCount() const { return folders_.size(); }

 private:
  struct Folder {
    std::uint64_t key;
    std::size_t first;  // index of its first file
    std::size_t count;
  };
  // Blocks rather than one array: a large count needs no single large allocation, which a
  // 32-bit process may not find, and growing it never copies what is kept.
  std::deque<SeenFile> files_;
  std::vector<Folder> folders_;  // sorted by key once the folder is ended
  std::size_t open_ = 0;         // first file of the folder being counted
  std::uint64_t openKey_ = 0;
  bool counting_ = false;
};

// A 64-bit hash of a name (FNV-1a over its 16-bit units), for file systems without file ids.
std::uint64_t NameKey(const wchar_t* name, std::size_t length);
// The key of a folder without a file id: its parent's key and its name together.
std::uint64_t ChildKey(std::uint64_t parentKey, std::uint64_t nameKey);

}  // namespace deletion
