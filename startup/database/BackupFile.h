// The bytes of "stelmar.dat", the store of disabled registry entries: a 32-bit
// little-endian count, then that many raw records (see StartupItem). Needs no Windows call.
#pragma once

#include <string>
#include <vector>

#include "startup/StartupItem.h"

namespace products::stelmar::database {

struct BackupFileContents {
  // The whole records found, in file order.
  std::vector<StartupItem> entries;
  // What was wrong with the bytes, one sentence each; empty for a sound file. A damaged
  // file is never read past its end: the whole records before the damage are kept.
  std::vector<std::string> problems;
};

BackupFileContents parseBackupFile(const std::string& bytes);
std::string serialiseBackupFile(const std::vector<StartupItem>& entries);

}  // namespace products::stelmar::database
