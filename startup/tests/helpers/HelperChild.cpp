// Started by the helper tests. With a file name: writes its current folder and how it was
// asked to show its window (-1: as it likes) into that file. Without: creates
// "child-ran.txt" in its current folder.
#include <windows.h>

#include <fstream>

int main(int argc, char** argv) {
  char folder[MAX_PATH] = {};
  ::GetCurrentDirectoryA(sizeof folder, folder);
  if (argc < 2) {
    std::ofstream(std::string(folder) + "\\child-ran.txt") << "ran";
    return 0;
  }
  STARTUPINFOA startup{};
  ::GetStartupInfoA(&startup);
  const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
  std::ofstream(argv[1], std::ios::binary) << folder << "\n" << show;
  return 0;
}
