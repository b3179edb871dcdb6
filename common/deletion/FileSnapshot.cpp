#include "common/deletion/FileSnapshot.h"

#include <algorithm>

namespace deletion {

namespace {

bool KeyLess(const SeenFile& a, const SeenFile& b) { return a.key < b.key; }

}  // namespace

void FileSnapshot::Clear() {
  files_.clear();
  folders_.clear();
  counting_ = false;
}

void FileSnapshot::BeginFolder(std::uint64_t folderKey) {
  open_ = files_.size();
  openKey_ = folderKey;
  counting_ = true;
}

void FileSnapshot::AddFile(std::uint64_t key, std::int64_t size, std::uint64_t writeTime) {
  if (counting_) files_.push_back(SeenFile{key, size, writeTime});
}

void FileSnapshot::EndFolder() {
  if (!counting_) return;
  counting_ = false;
  const Folder folder{openKey_, open_, files_.size() - open_};
  const auto at = std::lower_bound(folders_.begin(), folders_.end(), folder,
                                   [](const Folder& a, const Folder& b) { return a.key < b.key; });
  if (at != folders_.end() && at->key == folder.key) {
    files_.resize(open_);
    return;
  }
  std::sort(files_.begin() + static_cast<std::ptrdiff_t>(open_), files_.end(), KeyLess);
  // Folders are mostly counted in rising key order: inserting is cheap then.
  folders_.insert(at, folder);
}

bool FileSnapshot::HasFolder(std::uint64_t folderKey, std::size_t& folderIndex) const {
  const auto at = std::lower_bound(folders_.begin(), folders_.end(), folderKey,
                                   [](const Folder& a, std::uint64_t key) { return a.key < key; });
  if (at == folders_.end() || at->key != folderKey) return false;
  folderIndex = static_cast<std::size_t>(at - folders_.begin());
  return true;
}

bool FileSnapshot::Take(std::size_t folderIndex, std::uint64_t key, std::int64_t size,
                        std::uint64_t writeTime) {
  if (folderIndex >= folders_.size() || size < 0) return false;
  const Folder& folder = folders_[folderIndex];
  const auto begin = files_.begin() + static_cast<std::ptrdiff_t>(folder.first);
  const auto end = begin + static_cast<std::ptrdiff_t>(folder.count);
  for (auto it = std::lower_bound(begin, end, SeenFile{key, 0, 0}, KeyLess); it != end && it->key == key; ++it) {
    if (it->size != size || it->writeTime != writeTime) continue;
    it->size = -1;
    return true;
  }
  return false;
}

std::uint64_t NameKey(const wchar_t* name, std::size_t length) {
  std::uint64_t hash = 14695981039346656037ull;
  for (std::size_t i = 0; i < length; ++i) {
    hash ^= static_cast<std::uint16_t>(name[i]);
    hash *= 1099511628211ull;
  }
  return hash;
}

std::uint64_t ChildKey(std::uint64_t parentKey, std::uint64_t nameKey) {
  return (parentKey ^ (nameKey + 0x9e3779b97f4a7c15ull + (parentKey << 6) + (parentKey >> 2))) * 1099511628211ull;
}

}  // namespace deletion
