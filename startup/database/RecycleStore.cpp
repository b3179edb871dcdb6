#include "startup/database/RecycleStore.h"

#include <windows.h>

#include <algorithm>

#include "startup/StartupItem.h"
#include "startup/io/file/FileHelper.h"
#include "startup/platform/errorresources/Assertion.h"
#include "startup/platform/errorresources/Exceptions.h"

namespace products::stelmar::database {

const char* const RecycleStore::SUFFIX = ".deleted";

namespace {
const char* const DAMAGED = ".damaged";
}

RecycleStore::RecycleStore(const std::string& fileName) : _fileName(fileName) {
  if (::GetFileAttributesA(_fileName.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  std::optional<std::vector<RecycledEntry>> entries;
  try {
    entries = parseRecycled(io::file::FileHelper::load(_fileName));
  } catch (const exceptions::Exception&) {
  }
  if (entries) {
    _entries = pruneRecycled(std::move(*entries), now());
    return;
  }
  // Never overwritten unread: the deleted entries in it may still be wanted.
  const std::string copy = _fileName + DAMAGED;
  ::CopyFileA(_fileName.c_str(), copy.c_str(), TRUE);
  const std::string text = "The store of deleted entries '" + _fileName +
                           "' could not be read. It is kept as '" + copy + "'.";
  errorresources::assertion(text.c_str(), __FILE__, __LINE__);
}

std::uint64_t RecycleStore::now() {
  FILETIME time;
  ::GetSystemTimeAsFileTime(&time);
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

void RecycleStore::save(const std::vector<RecycledEntry>& entries) {
  io::file::FileHelper::save(_fileName, serialiseRecycled(entries));
  _entries = entries;
}

std::uint64_t RecycleStore::keep(RecycledEntry entry) {
  entry.time = now();
  // Unique, and newer than every entry kept before.
  for (const RecycledEntry& other : _entries) entry.time = std::max(entry.time, other.time + 1);
  std::vector<RecycledEntry> entries = _entries;
  entries.insert(entries.begin(), entry);
  save(pruneRecycled(std::move(entries), entry.time));
  return entry.time;
}

void RecycleStore::forget(std::uint64_t time) {
  std::vector<RecycledEntry> entries = _entries;
  entries.erase(std::remove_if(entries.begin(), entries.end(),
                               [&](const RecycledEntry& e) { return e.time == time; }),
                entries.end());
  if (entries.size() != _entries.size()) save(entries);
}

void RecycleStore::forgetSince(std::uint64_t since, int startupType,
                               const std::vector<std::string>& names) {
  std::vector<RecycledEntry> entries = _entries;
  entries.erase(std::remove_if(entries.begin(), entries.end(),
                               [&](const RecycledEntry& e) {
                                 if (e.time < since || e.startupType != startupType) return false;
                                 return std::any_of(names.begin(), names.end(),
                                                    [&](const std::string& name) {
                                                      return StartupItem::sameName(name, e.name);
                                                    });
                               }),
                entries.end());
  if (entries.size() != _entries.size()) save(entries);
}

const RecycledEntry* RecycleStore::find(std::uint64_t time) const {
  for (const RecycledEntry& entry : _entries) {
    if (entry.time == time) return &entry;
  }
  return nullptr;
}

}  // namespace products::stelmar::database
