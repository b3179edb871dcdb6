// vktcheck: prints every line of text plug-ins as the cleaner will read it, and flags the
// lines that do nothing and those that reach wide. Exit status 1 when a line reaches wide,
// 2 when no plug-in file could be read, else 0.
//
//   vktcheck file.vkt ...      vktcheck folder     (every *.vkt in it)
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cleaner/textplugin/Textpluginfo.h"
#include "cleaner/tools/vktcheck/VktCheck.h"
#include "common/Ini.h"

namespace {

struct Tally {
  int files = 0;
  int nothing = 0;
  int wide = 0;
};

vktcheck::Folders KnownFolders() {
  vktcheck::Folders folders;
  folders.windows = macros::ResolveMacro("%windir%");
  folders.system = macros::ResolveMacro("%sysdir%");
  char path[MAX_PATH];
  if (SHGetFolderPathA(nullptr, CSIDL_PROFILE, nullptr, 0, path) == S_OK) folders.profile = path;
  for (const std::string& name : macros::MacroNames()) folders.known.push_back(macros::ResolveMacro(name));
  // Both Program Files folders: a 32-bit program is shown only its own by the macros.
  for (const char* variable : {"ProgramW6432", "ProgramFiles", "ProgramFiles(x86)", "CommonProgramW6432"}) {
    const DWORD n = GetEnvironmentVariableA(variable, path, MAX_PATH);
    if (n > 0 && n < MAX_PATH) folders.known.push_back(path);
  }
  DWORD size = MAX_PATH;
  if (GetComputerNameA(path, &size)) folders.computer = path;
  // Folders of the user's own things. The temporary folder and the browser's cache are
  // not among them: emptying those whole is what cleaning them means.
  for (const int csidl : {CSIDL_PERSONAL, CSIDL_MYPICTURES, CSIDL_MYMUSIC, CSIDL_MYVIDEO,
                          CSIDL_STARTMENU, CSIDL_PROGRAMS, CSIDL_STARTUP, CSIDL_FAVORITES,
                          CSIDL_COOKIES, CSIDL_HISTORY}) {
    if (SHGetFolderPathA(nullptr, csidl, nullptr, 0, path) == S_OK) folders.known.push_back(path);
  }
  return folders;
}

void Report(const std::vector<vktcheck::Finding>& findings, Tally& tally) {
  for (const vktcheck::Finding& f : findings) {
    const bool wide = f.severity == vktcheck::Severity::kWide;
    std::printf("    %s: %s\n", wide ? "WIDE" : "DOES NOTHING", f.text.c_str());
    (wide ? tally.wide : tally.nothing)++;
  }
}

void CheckRegistry(const std::string& file, Tally& tally) {
  const std::vector<std::string> lines = textplugin::ReadSectionLines(file, textplugin::kRegistrySection);
  if (lines.empty()) return;
  std::printf("  [registry]\n");
  for (const std::string& line : lines) {
    std::printf("  %s\n", line.c_str());
    textentries::RegistryEntry entry;
    bool usable = false;
    const std::vector<vktcheck::Finding> findings = vktcheck::CheckRegistryLine(line, entry, usable);
    if (usable) {
      std::printf("    hive %s, key %s, %s%s\n", vktcheck::HiveName(entry.hive), entry.keyPath.c_str(),
                  entry.hasValueName ? "value " : "the whole key with its subkeys",
                  entry.hasValueName ? entry.valueName.c_str() : "");
    }
    Report(findings, tally);
  }
}

void CheckFiles(const std::string& file, const vktcheck::Folders& folders, Tally& tally) {
  const std::vector<std::string> lines = textplugin::ReadSectionLines(file, textplugin::kFilesSection);
  if (lines.empty()) return;
  std::printf("  [files]\n");
  for (const std::string& line : lines) {
    std::printf("  %s\n", line.c_str());
    std::vector<vktcheck::Finding> findings = vktcheck::CheckFilesLine(line);
    std::vector<std::string> paths;
    std::vector<macros::WildcardPath> wildcardPaths;
    macros::ExpandEntry(line, paths, &wildcardPaths);
    if (paths.empty() && wildcardPaths.empty()) {
      std::string token, rest;
      const bool macro = !line.empty() && line[0] == '%' && textentries::SplitMacro(line, token, rest);
      findings.push_back({vktcheck::Severity::kDoesNothing,
                          macro ? "the macro " + token + " names no folder here (unknown, or missing on this system)"
                                : "expands to no path"});
    }
    // What each wildcard matches on this machine; the folders follow one per line below.
    for (const macros::WildcardPath& w : wildcardPaths) {
      std::printf("    wildcard %s: %u folder(s) here\n", w.path.c_str(), static_cast<unsigned>(w.count));
      const std::vector<vktcheck::Finding> more = vktcheck::CheckWildcardPath(w.path, w.expansion, folders);
      findings.insert(findings.end(), more.begin(), more.end());
    }
    for (const std::string& path : paths) {
      textentries::FilesEntry entry;
      bool usable = false;
      std::vector<vktcheck::Finding> more = vktcheck::CheckExpandedPath(path, folders, entry, usable);
      if (usable) {
        const std::string switches = vktcheck::SwitchText(entry.switches);
        std::printf("    folder %s, mask %s, %s\n", entry.folder.c_str(), entry.mask.c_str(),
                    switches.empty() ? "this folder only" : ("switches " + switches).c_str());
      } else {
        std::printf("    path %s\n", path.c_str());
      }
      findings.insert(findings.end(), more.begin(), more.end());
    }
    Report(findings, tally);
  }
}

bool CheckFile(const std::string& file, const vktcheck::Folders& folders, Tally& tally) {
  if (GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
    std::printf("%s: cannot be read\n", file.c_str());
    return false;
  }
  ++tally.files;
  std::printf("%s\n", file.c_str());
  std::printf("  Title: %s\n", ini::ReadString(file, textplugin::kInfoSection, textplugin::kTitleKey,
                                               textplugin::kDefaultTitle).c_str());
  std::printf("  Description: %s\n",
              ini::ReadString(file, textplugin::kInfoSection, textplugin::kDescriptionKey,
                              textplugin::kDefaultDescription).c_str());
  CheckRegistry(file, tally);
  CheckFiles(file, folders, tally);
  return true;
}

// The private-profile functions read a bare name from the Windows folder: make it a full path.
std::string FullPath(const std::string& name) {
  char path[MAX_PATH];
  const DWORD n = GetFullPathNameA(name.c_str(), MAX_PATH, path, nullptr);
  return n > 0 && n < MAX_PATH ? std::string(path, n) : name;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: vktcheck file.vkt ... | folder\n");
    return 2;
  }
  const vktcheck::Folders folders = KnownFolders();
  Tally tally;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = FullPath(argv[i]);
    const DWORD attributes = GetFileAttributesA(argument.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      const std::string folder = argument.back() == '\\' ? argument : argument + "\\";
      for (const std::string& name : SortedFileNames(folder, textplugin::kPattern))
        CheckFile(folder + name, folders, tally);
    } else {
      CheckFile(argument, folders, tally);
    }
  }
  std::printf("%d plug-in file(s), %d line(s) that do nothing, %d line(s) that reach wide\n",
              tally.files, tally.nothing, tally.wide);
  if (tally.files == 0) return 2;
  return tally.wide > 0 ? 1 : 0;
}
