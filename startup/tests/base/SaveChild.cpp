// Helper program of the file tests: saves a file and stops for good just before the new
// file replaces the old one, so that the test can kill it at that moment.
// Usage: stelmar_save_child <file> <event name> <byte count>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "startup/io/file/FileHelper.h"

namespace {

std::string readyEvent;

void stopBeforeReplacing(const std::string&) {
  HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, readyEvent.c_str());
  if (ready) {
    SetEvent(ready);
    CloseHandle(ready);
  }
  for (;;) Sleep(INFINITE);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  readyEvent = argv[2];
  io::file::FileHelper::setBeforeReplaceHook(stopBeforeReplacing);
  io::file::FileHelper::save(argv[1], std::string(std::strtoul(argv[3], nullptr, 10), 'n'));
  return 0;
}
