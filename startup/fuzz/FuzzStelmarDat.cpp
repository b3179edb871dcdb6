// "stelmar.dat": whatever the bytes, the whole records read write back to bytes that read
// as the same records; a sound file writes back byte for byte and reads without a problem.
#include "native/fuzz/FuzzCheck.h"
#include "startup/database/BackupFile.h"

using fuzzcheck::Require;
using namespace products::stelmar::database;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes = fuzzcheck::Text(data, size);
  const BackupFileContents read = parseBackupFile(bytes);
  const std::string written = serialiseBackupFile(read.entries);
  const BackupFileContents again = parseBackupFile(written);
  Require(again.entries == read.entries, "written records read as the same records");
  Require(again.problemCount <= read.problemCount, "writing adds no problem");
  Require(read.damaged() || (written == bytes && !again.damaged()), "a sound file writes back byte for byte");
  return 0;
}
