#include "cleaner/textplugin/TextEntries.h"

#include <algorithm>

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
  auto isS = [&text](std::size_t at) { return at < text.size() && Lower(text[at]) == 's'; };
  auto lowerAt = [&text](std::size_t at) { return at < text.size() ? Lower(text[at]) : 0; };
  for (std::size_t slash = first; slash != std::string::npos;) {
    std::size_t examined = slash + 1;  // the character after the '/'
    if (isS(examined)) {
      switches.subfolders = true;
      ++examined;
      if (lowerAt(examined) == 'i') switches.includeFolder = true;
      if (lowerAt(examined) == 'o') switches.subfoldersOnly = true;
    }
    slash = examined + 1 < text.size() ? text.find('/', examined + 1) : std::string::npos;
  }
  // The parse above steps over a '/' that follows "/S" directly. Read as one more switch
  // it can only narrow the walk, so it counts for "/SO" alone: "/S/SO" keeps the named
  // folder's own files.
  for (std::size_t slash = text.find('/', first); slash != std::string::npos; slash = text.find('/', slash + 1)) {
    if (isS(slash + 1) && lowerAt(slash + 2) == '/' && isS(slash + 3) && lowerAt(slash + 4) == 'o')
      switches.subfoldersOnly = true;
  }
  text.resize(first);
  return switches;
}

bool IsFullyQualifiedFolder(const std::string& folder) {
  // A drive: a letter, ':' and ''.
  if (folder.size() >= 3 && folder[1] == ':' && folder[2] == '\\')
    return (folder[0] >= 'A' && folder[0] <= 'Z') || (folder[0] >= 'a' && folder[0] <= 'z');
  // A share: "\\server\share\", with neither name empty. The device forms "\\?\" and
  // "\\.\" name no share.
  if (folder.size() < 2 || folder[0] != '\\' || folder[1] != '\\') return false;
  const std::size_t serverEnd = folder.find('\\', 2);
  if (serverEnd == std::string::npos || serverEnd == 2) return false;
  const std::string server = folder.substr(2, serverEnd - 2);
  if (server == "?" || server == ".") return false;
  const std::size_t shareEnd = folder.find('\\', serverEnd + 1);
  return shareEnd != std::string::npos && shareEnd > serverEnd + 1;
}

bool HasDotSegment(const std::string& path) {
  std::size_t begin = 0;
  for (;;) {
    const std::size_t end = std::min(path.find('\\', begin), path.size());
    if (end > begin && path.find_first_not_of(". ", begin) >= end) return true;
    if (end == path.size()) return false;
    begin = end + 1;
  }
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
  // A relative folder would resolve against whatever the current folder happens to be,
  // and an empty mask names no file.
  // The mask is judged as trimmed too: " \x1b ." is the mask ".".
  return IsFullyQualifiedFolder(entry.folder) && !entry.mask.empty() && !HasDotSegment(path) &&
         !HasDotSegment(entry.mask);
}

CaseFold AsciiCaseFold() {
  CaseFold fold;
  for (int i = 0; i < 256; ++i) fold.upper[i] = static_cast<unsigned char>(i >= 'a' && i <= 'z' ? i - 'a' + 'A' : i);
  return fold;
}

namespace {

// '*' any run of characters, dots included, '?' exactly one; once the name has run out,
// what is left of the mask may be dots and stars only ("a.*" matches "a"). Backtracks to
// the last star only, so the work stays bounded by the name's length times the mask's.
bool MatchesWildcards(const char* name, const char* mask, const char* maskEnd, const CaseFold& fold) {
  auto same = [&fold](char a, char b) {
    return fold.upper[static_cast<unsigned char>(a)] == fold.upper[static_cast<unsigned char>(b)];
  };
  auto onlyDotsAndStars = [maskEnd](const char* rest) {
    while (rest < maskEnd && (*rest == '.' || *rest == '*')) ++rest;
    return rest == maskEnd;
  };
  const char* star = nullptr;  // just after the last '*' met
  const char* retry = nullptr;  // where the name resumes when that star takes one more character
  for (;;) {
    if (mask < maskEnd && *mask == '*') {
      while (mask < maskEnd && *mask == '*') ++mask;
      if (mask == maskEnd) return true;
      star = mask;
      retry = name;
      continue;
    }
    if (!*name) {
      if (onlyDotsAndStars(mask)) return true;
    } else if (mask < maskEnd && (*mask == '?' || same(*mask, *name))) {
      ++mask;
      ++name;
      continue;
    }
    if (!star || !*retry) return false;
    mask = star;
    name = ++retry;
  }
}

}  // namespace

bool MatchesMask(const char* name, const char* mask, const CaseFold& fold) {
  const char* maskEnd = mask + std::strlen(mask);
  if (std::strcmp(mask, "*.*") == 0) return *name != 0;
  // A mask that ends in a dot names files without an extension: "*." and "name.".
  if (maskEnd > mask && maskEnd[-1] == '.') {
    if (std::strchr(name, '.')) return false;
    while (maskEnd > mask && maskEnd[-1] == '.') --maskEnd;
  }
  return MatchesWildcards(name, mask, maskEnd, fold);
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
