// The lines of a .vkt section: every registry line and every files line. A parsed files
// line names a fully qualified folder that its own text names (never a shorter one), a
// mask of its own text, and switches that delete no more than the plain parse of the
// switch text would. It has no '.' or '..' segment and resolves inside its own folder.
#include "cleaner/textplugin/TextEntries.h"
#include "native/fuzz/FuzzCheck.h"

using fuzzcheck::Require;
using namespace textentries;

namespace {

// The plain parse: after a '/', an S sets Subfolders and the next character may set
// IncludeFolder or SubfoldersOnly; the search goes on past the character examined.
SwitchSet PlainSwitches(const std::string& text) {
  SwitchSet s;
  auto lower = [&text](std::size_t at) -> char {
    if (at >= text.size()) return 0;
    const char c = text[at];
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  };
  std::size_t at = text.find('/');
  while (at != std::string::npos) {
    std::size_t examined = at + 1;
    if (lower(examined) == 's') {
      s.subfolders = true;
      ++examined;
      if (lower(examined) == 'i') s.includeFolder = true;
      if (lower(examined) == 'o') s.subfoldersOnly = true;
    }
    at = examined + 1 <= text.size() ? text.find('/', examined + 1) : std::string::npos;
  }
  return s;
}

// Resolves the segments of a folder as the system does ("." stays, ".." goes up, a segment
// loses its trailing dots and blanks first) and says whether any segment left the folder
// or stayed where it was instead of going down: the line then reaches outside its text.
bool ResolvesInside(const std::string& folder) {
  std::size_t begin = 0;
  while (begin < folder.size()) {
    std::size_t end = folder.find('\\', begin);
    if (end == std::string::npos) end = folder.size();
    std::string segment = folder.substr(begin, end - begin);
    const bool special = segment == "." || segment == "..";
    while (!special && !segment.empty() && (segment.back() == '.' || segment.back() == ' ')) segment.pop_back();
    if (special || (end > begin && segment.empty())) return false;
    begin = end + 1;
  }
  return true;
}

void CheckFilesLine(const std::string& line) {
  FilesEntry entry;
  if (!ParseFilesEntry(line, entry)) return;
  const std::size_t slash = line.find('/');
  const std::string path = line.substr(0, slash);
  Require(path.compare(0, entry.folder.size(), entry.folder) == 0, "the folder begins the line");
  Require(entry.folder.back() == '\\', "the folder ends in a backslash");
  Require(path.find('\\', entry.folder.size()) == std::string::npos, "the folder is the whole path before the mask");
  Require(IsFullyQualifiedFolder(entry.folder), "the folder is fully qualified");
  Require(!entry.mask.empty() && path.find(entry.mask, entry.folder.size()) != std::string::npos,
          "the mask is text of the line after the folder");
  Require(FitsPath(line.size()), "the line fits one path");
  Require(!HasDotSegment(path), "an accepted line has no '.' or '..' segment");
  Require(ResolvesInside(entry.folder) && ResolvesInside(entry.mask), "the line resolves inside its own folder");
  const SwitchSet plain = slash == std::string::npos ? SwitchSet() : PlainSwitches(line.substr(slash));
  Require(entry.switches.subfolders == plain.subfolders, "Subfolders as the plain parse");
  Require(!entry.switches.includeFolder || plain.includeFolder, "IncludeFolder only where the plain parse sets it");
  Require(entry.switches.subfoldersOnly || !plain.subfoldersOnly, "SubfoldersOnly wherever the plain parse sets it");
}

void CheckRegistryLine(const std::string& line) {
  RegistryEntry entry;
  if (!ParseRegistryEntry(line, entry)) return;
  const std::size_t bar = line.find('|');
  std::string rebuilt = line.substr(0, bar) + "|" + entry.keyPath;
  if (entry.hasValueName) rebuilt += "|" + entry.valueName;
  Require(rebuilt == line, "hive, key path and value name make up the line");
  Require(entry.keyPath.find('|') == std::string::npos, "the key path holds no bar");
  Require(entry.hasValueName || !entry.keyPath.empty(), "a whole key is never the whole hive");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = fuzzcheck::Text(data, size);
  const std::vector<std::string> lines = SectionLines(text.data(), text.size());
  std::size_t total = 0;
  for (const std::string& line : lines) {
    Require(line.find('\0') == std::string::npos && !line.empty(), "lines are whole and not empty");
    total += line.size() + 1;
    CheckFilesLine(line);
    CheckRegistryLine(line);
  }
  Require(total <= size + 1, "the lines lie within the section");
  return 0;
}
