// The native (64-bit) view of the files and environment, for a 32-bit program on 64-bit
// Windows: the entries of the native registry view are started by 64-bit Windows, which
// finds "C:\Windows\System32\x.exe" in its own system folder, not in SysWOW64, and expands
// %ProgramFiles% to "C:\Program Files", not "Program Files (x86)".
#pragma once

#include <optional>
#include <string>

#include "startup/util/NativePaths.h"

namespace windows::file {

// Turns the file-system redirection of this thread off while it lives (nothing on systems
// without it). Only file lookups may run meanwhile: a library loaded then would be the
// 64-bit one.
class RedirectionOff {
 public:
  RedirectionOff();
  ~RedirectionOff();
  RedirectionOff(const RedirectionOff&) = delete;
  RedirectionOff& operator=(const RedirectionOff&) = delete;

 private:
  void* _previous = nullptr;
  bool _off = false;
};

// The variables whose values 64-bit programs see differently (ProgramFiles,
// CommonProgramFiles, PROCESSOR_ARCHITECTURE), with their native values (on 32-bit Windows
// the values it has anyway).
const util::Variables& nativeVariables();

// The program a path or command line names, found as 64-bit Windows finds it (in its folder
// when it names one, else along the search path), as a path this program can use: one in
// the 64-bit system folder goes through "Sysnative". Nothing when it is not found. Throws
// CouldNotCheckIfFileExistException as WindowsFileHelper::fileExists does.
std::optional<std::string> findNativeFile(const std::string& path);

}  // namespace windows::file
