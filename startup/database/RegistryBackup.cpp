#include "startup/database/RegistryBackup.h"

#include <windows.h>

#include <algorithm>

#include "startup/database/BackupFile.h"
#include "startup/io/file/FileHelper.h"
#include "startup/platform/errorresources/Assertion.h"
#include "startup/platform/errorresources/Exceptions.h"
#include "startup/platform/errorresources/SystemErrors.h"

namespace products::stelmar::database {

const char* const RegistryBackup::DAMAGED_SUFFIX = ".damaged";
const char* const RegistryBackup::VALUES_SUFFIX = ".values";

namespace {

const char* const COPY_NOT_KEPT =
    "The store of disabled entries was found damaged when it was loaded, and a copy of it "
    "could not be kept. It is not overwritten until the copy can be made.";
constexpr int MAX_DAMAGED_COPIES = 99;

bool fileExists(const std::string& name) {
  const DWORD attributes = ::GetFileAttributesA(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

RegistryBackup::RegistryBackup(const std::string& fileName) : _fileName(fileName) {
  if (!fileExists(_fileName)) return;
  load();
  loadValues();
}

void RegistryBackup::loadValues() {
  const std::string name = _fileName + VALUES_SUFFIX;
  if (!fileExists(name)) return;  // written by an older build: every value is text
  std::optional<std::vector<KeptValue>> values;
  try {
    values = parseKeptValues(io::file::FileHelper::load(name));
  } catch (const exceptions::Exception&) {
  }
  if (!values) {
    // Only the types are lost: the entries come back as text, as with an older build.
    const std::string text = "The registry types of the disabled entries ('" + name +
                             "') could not be read. Their entries are enabled as text values.";
    errorresources::assertion(text.c_str(), __FILE__, __LINE__);
    return;
  }
  // A value whose entry is not in the list (a save that ended between the two files, or an
  // older build that changed the list) is left out.
  for (KeptValue& value : *values) {
    const ValueKey key = keyOf(value.startupType, value.name);
    const bool listed = std::any_of(_entries.begin(), _entries.end(), [&](const StartupItem& e) {
      return e.getType() == value.startupType && StartupItem::sameName(e.getName(), value.name);
    });
    if (listed) _values[key] = std::move(value);
  }
}

void RegistryBackup::load() {
  const std::string bytes = io::file::FileHelper::load(_fileName);
  BackupFileContents contents = parseBackupFile(bytes);
  _entries = std::move(contents.entries);
  if (!contents.damaged()) return;

  _damagedCopyPending = true;
  keepDamagedCopy();
  const std::string copy = _damagedCopy.empty() ? std::string("No copy of it could be kept yet.")
                                                : "A copy of it is kept as '" + _damagedCopy + "'.";
  // One report for the whole file: noise would otherwise raise one per record.
  const std::string text =
      "The store of disabled entries '" + _fileName + "' is damaged. " + contents.firstProblem +
      " Further problems found after it: " + std::to_string(contents.problemCount - 1) + ". Its " +
      std::to_string(_entries.size()) + " whole records are kept as disabled entries. " + copy;
  errorresources::assertion(text.c_str(), __FILE__, __LINE__);
}

bool RegistryBackup::keepDamagedCopy() {
  for (int n = 1; n <= MAX_DAMAGED_COPIES; ++n) {
    const std::string name =
        _fileName + DAMAGED_SUFFIX + (n == 1 ? std::string() : std::to_string(n));
    if (!fileExists(name)) {
      if (!::CopyFileA(_fileName.c_str(), name.c_str(), TRUE)) return false;
      _damagedCopy = name;
      _damagedCopyPending = false;
      return true;
    }
    // A copy of an earlier damage is never overwritten; the same bytes need no second copy.
    try {
      if (io::file::FileHelper::load(name) == io::file::FileHelper::load(_fileName)) {
        _damagedCopy = name;
        _damagedCopyPending = false;
        return true;
      }
    } catch (const exceptions::Exception&) {
      // Not a readable file (a folder, say): try the next name.
    }
  }
  ::SetLastError(ERROR_FILE_EXISTS);
  return false;
}

void RegistryBackup::add(const StartupItem& item) {
  const auto i = std::find(_entries.begin(), _entries.end(), item);
  STELMAR_ASSERT(i == _entries.end());
  _entries.push_back(item);
  _unsaved = true;
  _values.erase(keyOf(item.getType(), item.getName()));
}

void RegistryBackup::remove(const StartupItem& item) {
  const auto i = std::find(_entries.begin(), _entries.end(), item);
  STELMAR_ASSERT(i != _entries.end());
  if (i == _entries.end()) return;
  _entries.erase(i);
  _unsaved = true;
  _values.erase(keyOf(item.getType(), item.getName()));
}

void RegistryBackup::keepValue(const StartupItem& item, std::uint32_t registryType,
                               const std::string& bytes) {
  _values[keyOf(item.getType(), item.getName())] =
      KeptValue{item.getType(), item.getName(), registryType, bytes};
}

const KeptValue* RegistryBackup::findValue(const StartupItem& item) const {
  const auto i = _values.find(keyOf(item.getType(), item.getName()));
  return i == _values.end() ? nullptr : &i->second;
}

RegistryBackup::Contents RegistryBackup::getContents() const {
  return {_entries, _values, _unsaved};
}

void RegistryBackup::setContents(const Contents& contents) {
  _entries = contents.entries;
  _values = contents.values;
  _unsaved = contents.unsaved;
}

RegistryBackup::ValueKey RegistryBackup::keyOf(int type, const std::string& name) {
  return ValueKey(type, StartupItem::foldName(name));
}

const StartupItem* RegistryBackup::find(const StartupItem& item) const {
  const auto i = std::find(_entries.begin(), _entries.end(), item);
  return i == _entries.end() ? nullptr : &*i;
}

bool RegistryBackup::contains(const StartupItem& item) const {
  return std::find(_entries.begin(), _entries.end(), item) != _entries.end();
}

void RegistryBackup::save() {
  if (_damagedCopyPending && !keepDamagedCopy()) {
    const DWORD code = ::GetLastError();
    throw io::file::CouldNotSaveFileException(std::string(COPY_NOT_KEPT) + "\nFilename: '" +
                                              _fileName + "'\n" +
                                              SystemErrors::map(static_cast<int>(code)));
  }
  std::vector<KeptValue> values;
  for (const auto& value : _values) values.push_back(value.second);
  io::file::FileHelper::save(_fileName + VALUES_SUFFIX, serialiseKeptValues(values));
  io::file::FileHelper::save(_fileName, serialiseBackupFile(_entries));
  _unsaved = false;
}

std::vector<StartupItem> RegistryBackup::getEntries(int type) const {
  std::vector<StartupItem> result;
  for (const StartupItem& item : _entries) {
    if (item.getType() == type) result.push_back(item);
  }
  return result;
}

}  // namespace products::stelmar::database
