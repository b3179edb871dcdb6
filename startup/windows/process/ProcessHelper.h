// Starting the programs and files of startup entries. Nothing waits for what it starts.
#pragma once

#include <windows.h>

#include <string>

namespace windows::process {

class ProcessHelper {
 public:
  // Has the shell carry out `verb` ("open", ...) on the file, shown normally, with no
  // parameters and no owner window. Throws CouldNotShellExecuteException.
  static void runShellCommand(const std::string& file, const std::string& verb);
  // Starts a command line in the folder of its program (the current folder when it names
  // none), optionally with its window hidden. Throws CouldNotCreateProcessException.
  static void createProcess(const std::string& commandLine, DWORD creationFlags, bool hidden);
};

}  // namespace windows::process
