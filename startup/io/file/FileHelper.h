// Whole-file load and save of stelmar ("stelmar.dat", "stelmar.cfg", the debug file).
//
// A save never leaves a half-written file behind: the bytes go to a temporary file beside
// the target, which replaces the target only once it is complete and flushed. A crash, a
// full disk or a killed process during a save leaves the previous file whole.
#pragma once

#include <cstddef>
#include <string>

namespace io {
namespace file {

class FileHelper {
 public:
  // Files larger than this cannot be loaded, data larger than this cannot be saved.
  static constexpr long long MAX_SIZE = 2147483647;

  // All bytes of the file (binary), or its first `byteCount` bytes when that is not 0.
  // Throws CouldNotLoadFileException.
  static std::string load(const std::string& fileName, std::size_t byteCount = 0);

  // Replaces the file by `data` (binary); with `append`, adds `data` at the end of the
  // file instead, creating it when missing. Throws CouldNotSaveFileException.
  static void save(const std::string& fileName, const std::string& data, bool append = false);

  // Name of the temporary file that a save of `fileName` writes before replacing it.
  static std::string temporaryName(const std::string& fileName);

  // For tests: called after the temporary file is complete and before it replaces the
  // target, with the temporary file's name. A hook that throws stands for a save that
  // dies there: the temporary file stays and the exception passes through unchanged.
  using ReplaceHook = void (*)(const std::string& temporaryFileName);
  static ReplaceHook setBeforeReplaceHook(ReplaceHook hook);
};

}  // namespace file
}  // namespace io
