#include "startup/io/file/FileHelper.h"
#include "startup/io/file/WriteSteps.h"

#include <windows.h>

#include <new>
#include <vector>

#include "common/Unique.h"
#include "startup/platform/errorresources/Exceptions.h"
#include "startup/platform/errorresources/SystemErrors.h"

namespace io {
namespace file {

namespace {

const char* const TEMPORARY_SUFFIX = ".tmp";
// Read and write in pieces that a DWORD count always holds.
const DWORD CHUNK_BYTES = 1 << 20;

FileHelper::ReplaceHook beforeReplaceHook = nullptr;

std::string currentDirectoryText() {
  char buffer[MAX_PATH + 1];
  const DWORD length = ::GetCurrentDirectoryA(sizeof buffer, buffer);
  if (length == 0 || length >= sizeof buffer)
    return "Couldn't get the current directory. Exception: Could not get the current directory.\n" +
           SystemErrors::map(static_cast<int>(::GetLastError()));
  return std::string(buffer, length);
}

// The message, the file, the current directory, the system's text for the error code of
// the failed call, and the C++ failure behind it if any.
std::string complete(const std::string& message, const std::string& fileName, DWORD errorCode,
                     const std::string& cppFailure) {
  return message + "\nFilename: '" + fileName + "'" + "\nCurrent Working Directory: " +
         currentDirectoryText() + "\n" + SystemErrors::map(static_cast<int>(errorCode)) +
         "\nC++ exception: " + (cppFailure.empty() ? std::string("None.") : cppFailure);
}

[[noreturn]] void loadFailed(const std::string& message, const std::string& fileName,
                             const std::string& cppFailure = std::string()) {
  const DWORD error = ::GetLastError();
  throw CouldNotLoadFileException(complete(message, fileName, error, cppFailure));
}

[[noreturn]] void saveFailed(const std::string& message, const std::string& fileName,
                             DWORD error, const std::string& cppFailure = std::string()) {
  throw CouldNotSaveFileException(complete(message, fileName, error, cppFailure));
}

const char* const OPEN_FOR_WRITING = "An error occurred when trying to open the file for writing.";
const char* const WRITE_FAILED = "An error occurred when trying to write the file.";

// Writes all bytes; false with the system's error code set when the system refuses.
bool writeAll(HANDLE file, const std::string& data) {
  std::size_t written = 0;
  while (written < data.size()) {
    const std::size_t left = data.size() - written;
    const DWORD piece = left < CHUNK_BYTES ? static_cast<DWORD>(left) : CHUNK_BYTES;
    DWORD done = 0;
    if (!::WriteFile(file, data.data() + written, piece, &done, nullptr)) return false;
    if (done == 0) {
      ::SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
    written += done;
  }
  return true;
}

void appendTo(const std::string& fileName, const std::string& data) {
  // Appending only adds bytes behind the old ones, so the old content stays whole whatever
  // happens to the new bytes.
  win::UniqueFile file(::CreateFileA(fileName.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) saveFailed(OPEN_FOR_WRITING, fileName, ::GetLastError());
  if (::SetFilePointer(file.get(), 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
      ::GetLastError() != NO_ERROR)
    saveFailed(WRITE_FAILED, fileName, ::GetLastError());
  if (!writeAll(file.get(), data) || !::FlushFileBuffers(file.get()))
    saveFailed(WRITE_FAILED, fileName, ::GetLastError());
}

// What a replaced file keeps of the old one: its attributes (hidden, system, ...) and who
// may use it (its DACL). The new file is written under another name and moved over the old
// one, so neither would survive by itself.
struct KeptProperties {
  DWORD attributes = INVALID_FILE_ATTRIBUTES;
  std::vector<BYTE> security;  // a self-relative descriptor with the DACL; empty: none
};

// Attributes the new file takes over. Read-only is left out: a read-only file is not
// replaced at all.
const DWORD KEPT_ATTRIBUTES = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                              FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

KeptProperties readProperties(const std::string& fileName) {
  KeptProperties kept;
  const DWORD attributes = ::GetFileAttributesA(fileName.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return kept;
  kept.attributes = attributes & KEPT_ATTRIBUTES;
  DWORD needed = 0;
  ::GetFileSecurityA(fileName.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
  if (needed > 0) {
    kept.security.resize(needed);
    if (!::GetFileSecurityA(fileName.c_str(), DACL_SECURITY_INFORMATION, kept.security.data(),
                            needed, &needed))
      kept.security.clear();
  }
  return kept;
}

// Best effort: the bytes are saved by then; a file system without security, say, simply
// keeps what it can.
void applyProperties(const std::string& fileName, const KeptProperties& kept) {
  if (kept.attributes == INVALID_FILE_ATTRIBUTES) return;
  if (!kept.security.empty())
    ::SetFileSecurityA(fileName.c_str(), DACL_SECURITY_INFORMATION,
                       const_cast<BYTE*>(kept.security.data()));
  if (kept.attributes != 0) ::SetFileAttributesA(fileName.c_str(), kept.attributes);
}

void replace(const std::string& fileName, const std::string& data) {
  const std::string temporary = FileHelper::temporaryName(fileName);
  {
    win::UniqueFile file(::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) saveFailed(OPEN_FOR_WRITING, fileName, ::GetLastError());
    if (!writeAll(file.get(), data) || !::FlushFileBuffers(file.get())) {
      const DWORD error = ::GetLastError();
      file.reset();
      ::DeleteFileA(temporary.c_str());
      saveFailed(WRITE_FAILED, fileName, error);
    }
  }
  const KeptProperties kept = readProperties(fileName);
  if (beforeReplaceHook) beforeReplaceHook(temporary);
  writeStep("replace a file");
  if (!::MoveFileExA(temporary.c_str(), fileName.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    // The target is locked, read-only or a folder: it stays as it was.
    const DWORD error = ::GetLastError();
    ::DeleteFileA(temporary.c_str());
    saveFailed(OPEN_FOR_WRITING, fileName, error);
  }
  // Given to the new file once it is in place, not before: a temporary file that took over a
  // protection denying us its removal could neither be moved nor deleted.
  applyProperties(fileName, kept);
}

}  // namespace

std::string FileHelper::temporaryName(const std::string& fileName) {
  return fileName + TEMPORARY_SUFFIX;
}

FileHelper::ReplaceHook FileHelper::setBeforeReplaceHook(ReplaceHook hook) {
  const ReplaceHook previous = beforeReplaceHook;
  beforeReplaceHook = hook;
  return previous;
}

std::string FileHelper::load(const std::string& fileName, std::size_t byteCount) {
  win::UniqueFile file(::CreateFileA(fileName.c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) loadFailed("An error occurred when trying to open the file for reading.", fileName);

  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size))
    loadFailed("An error occurred while trying to get the size of the file.", fileName);
  if (size.QuadPart > MAX_SIZE) {
    ::SetLastError(ERROR_FILE_TOO_LARGE);
    loadFailed("Could not load the file because the file size was too big. The file size is " +
                   std::to_string(size.QuadPart) + ". The file cannot be bigger than " +
                   std::to_string(MAX_SIZE) + " bytes.",
               fileName);
  }
  const std::size_t fileSize = static_cast<std::size_t>(size.QuadPart);
  if (byteCount > fileSize) {
    ::SetLastError(ERROR_HANDLE_EOF);
    loadFailed("Tried to read a larger number of bytes from a file that it contained. Tried to "
               "read : " + std::to_string(byteCount) + " File size: " + std::to_string(fileSize),
               fileName);
  }
  const std::size_t wanted = byteCount == 0 ? fileSize : byteCount;

  std::string bytes;
  try {
    bytes.resize(wanted);
  } catch (const std::bad_alloc& failure) {
    ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    loadFailed("An error occurred while trying to load the file.", fileName, failure.what());
  }
  std::size_t read = 0;
  while (read < wanted) {
    const std::size_t left = wanted - read;
    const DWORD piece = left < CHUNK_BYTES ? static_cast<DWORD>(left) : CHUNK_BYTES;
    DWORD done = 0;
    if (!::ReadFile(file.get(), &bytes[read], piece, &done, nullptr))
      loadFailed("An error occurred while trying to load the file.", fileName);
    if (done == 0) {  // the file shrank while being read
      ::SetLastError(ERROR_HANDLE_EOF);
      loadFailed("An error occurred while trying to load the file.", fileName);
    }
    read += done;
  }
  return bytes;
}

void FileHelper::save(const std::string& fileName, const std::string& data, bool append) {
  if (static_cast<unsigned long long>(data.size()) > static_cast<unsigned long long>(MAX_SIZE))
    saveFailed("Could not save the file because the data size was too big. The data size is " +
                   std::to_string(data.size()) + ". The data cannot be bigger than " +
                   std::to_string(MAX_SIZE) + " bytes.",
               fileName, ERROR_FILE_TOO_LARGE);
  if (append)
    appendTo(fileName, data);
  else
    replace(fileName, data);
}

}  // namespace file
}  // namespace io
