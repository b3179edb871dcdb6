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
  // What was wrong with the bytes: the first problem in one sentence and how many there
  // are in all; none for a sound file. A damaged file is never read past its end: the whole
  // records before the damage are kept, each as a disabled entry.
  std::string firstProblem;
  std::size_t problemCount = 0;
  bool damaged() const { return problemCount != 0; }
  void noteProblem(const std::string& problem) {
    if (problemCount++ == 0) firstProblem = problem;
  }
};

BackupFileContents parseBackupFile(const std::string& bytes);
std::string serialiseBackupFile(const std::vector<StartupItem>& entries);

}  // namespace products::stelmar::database
