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
  if (fileExists(_fileName)) load();
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
}

void RegistryBackup::remove(const StartupItem& item) {
  const auto i = std::find(_entries.begin(), _entries.end(), item);
  STELMAR_ASSERT(i != _entries.end());
  if (i != _entries.end()) _entries.erase(i);
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
  io::file::FileHelper::save(_fileName, serialiseBackupFile(_entries));
}

std::vector<StartupItem> RegistryBackup::getEntries(int type) const {
  std::vector<StartupItem> result;
  for (const StartupItem& item : _entries) {
    if (item.getType() == type) result.push_back(item);
  }
  return result;
}

}  // namespace products::stelmar::database
