#include "cleaner/TextEntries.h"

namespace textentries {

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

struct HiveName {
  const char* name;
  Hive hive;
};
// Compared in this order.
constexpr HiveName kHives[] = {{"HKEY_CURRENT_USER", Hive::kCurrentUser},
                               {"HKEY_LOCAL_MACHINE", Hive::kLocalMachine},
                               {"HKEY_USERS", Hive::kUsers},
                               {"HKEY_CLASSES_ROOT", Hive::kClassesRoot}};

}  // namespace

std::vector<std::string> SectionLines(const char* buffer, std::size_t size) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < size && buffer[at] != 0) {
    std::size_t end = at;
    while (end < size && buffer[end] != 0) ++end;
    lines.emplace_back(buffer + at, end - at);
    at = end + 1;
  }
  return lines;
}

SwitchSet StripSwitches(std::string& text) {
  SwitchSet switches;
  const std::size_t first = text.find('/');
  if (first == std::string::npos) return switches;
  std::size_t slash = first;
  while (slash != std::string::npos) {
    std::size_t next = slash + 1;  // the character after the '/'
    if (next < text.size() && (text[next] == 'S' || text[next] == 's')) {
      switches.subfolders = true;
      ++next;
      if (next < text.size()) {
        const char c = Lower(text[next]);
        if (c == 'i') switches.includeFolder = true;
        if (c == 'o') switches.subfoldersOnly = true;
        // "/S/SO": the '/' after the S starts the next switch rather than being skipped.
        if (c != '/') ++next;
      }
    }
    slash = text.find('/', next);
  }
  text.resize(first);
  return switches;
}

bool ParseFilesEntry(const std::string& expandedPath, FilesEntry& entry) {
  if (!FitsPath(expandedPath.size())) return false;
  std::string path = expandedPath;
  entry.switches = StripSwitches(path);
  const std::size_t backslash = path.rfind('\\');
  if (backslash == std::string::npos) return false;
  entry.folder = path.substr(0, backslash + 1);
  std::size_t begin = backslash + 1;
  std::size_t end = path.size();
  while (begin < end && IsBlankOrControl(path[begin])) ++begin;
  while (end > begin && IsBlankOrControl(path[end - 1])) --end;
  entry.mask = path.substr(begin, end - begin);
  return true;
}

bool EqualsNoCase(const std::string& a, const char* b) {
  const std::size_t n = std::strlen(b);
  if (a.size() != n) return false;
  for (std::size_t i = 0; i < n; ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

bool ParseRegistryEntry(const std::string& line, RegistryEntry& entry) {
  const std::size_t bar = line.find('|');
  if (bar == std::string::npos) return false;
  const std::string hiveName = line.substr(0, bar);
  bool known = false;
  for (const HiveName& h : kHives) {
    if (EqualsNoCase(hiveName, h.name)) {
      entry.hive = h.hive;
      known = true;
      break;
    }
  }
  if (!known) return false;
  const std::size_t second = line.find('|', bar + 1);
  if (second == std::string::npos) {
    entry.keyPath = line.substr(bar + 1);
    entry.hasValueName = false;
    entry.valueName.clear();
    // An empty path names the hive itself: a whole-key entry would empty the hive.
    return entry.keyPath.find_first_not_of("\\ \t") != std::string::npos;
  }
  entry.keyPath = line.substr(bar + 1, second - bar - 1);
  entry.hasValueName = true;
  entry.valueName = line.substr(second + 1);
  return true;
}

bool SplitMacro(const std::string& line, std::string& token, std::string& rest) {
  if (line.empty()) return false;
  const std::size_t close = line.find('%', 1);
  if (close == std::string::npos) return false;
  token = line.substr(0, close + 1);
  rest = line.substr(close + 1);
  return true;
}

}  // namespace textentries
