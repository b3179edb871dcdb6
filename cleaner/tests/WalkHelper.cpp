// Runs one count and deletion walk with RemoveOnReboot on, for tests that need a process of its own
// (one that the system takes for another platform family). Arguments: the folder without
// its closing backslash, the mask, and the switch text. Writes walk.txt beside itself.
#include <windows.h>

#include <cstdio>
#include <string>

#include "cleaner/Cleaning.h"
#include "cleaner/Diskscan.h"
#include "cleaner/Host.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  RemoveOnReboot = true;
  const std::string folder = std::string(argv[1]) + "\\";
  std::string switches = std::string("x ") + (argc > 3 ? argv[3] : "");
  const textentries::SwitchSet set = textentries::StripSwitches(switches);
  deletion::FileSnapshot seen;
  CountFolder(folder.c_str(), argv[2], set, &seen);
  const WalkResult result = DeleteFolder(folder.c_str(), argv[2], set, seen);
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExA(&version);
  char text[200];
  std::snprintf(text, sizeof text, "platform %lu\r\n%lld entries %lld bytes %lld scheduled\r\n",
                static_cast<unsigned long>(version.dwPlatformId), result.entries, result.bytes,
                RebootFileCount);
  FILE* out = std::fopen((Host::ModuleFolder() + "walk.txt").c_str(), "wb");
  if (!out) return 1;
  std::fputs(text, out);
  std::fclose(out);
  return 0;
}
