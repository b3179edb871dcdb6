// The text of a text plug-in, without any Windows call: section lines, switches, registry
// and files entries, macro tokens, and the bounded path buffer the walks share.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

namespace textentries {

// One path: 259 characters and the terminator.
constexpr std::size_t kPathBufferSize = 260;
// A whole `registry` or `files` section.
constexpr std::size_t kSectionBufferSize = 32767;

// The lines of a section as the profile functions return them: each line ends with a
// terminator, an empty line (a second terminator) ends the list. `size` bounds the read.
std::vector<std::string> SectionLines(const char* buffer, std::size_t size);

// What the switches after a files entry's mask ask for.
struct SwitchSet {
  bool subfolders = false;      // any /S, /SI, /SO
  bool subfoldersOnly = false;  // /SO
  bool includeFolder = false;   // /SI
};

// Cuts `text` at its first '/' and returns the switches written from there on: "/S",
// "/SI", "/SO", letters in either case; "/SIO" counts as "/SI". After each '/' the search
// goes on past the character examined, so "//S" sets nothing. A '/' straight after "/S"
// starts one more switch that may only narrow the walk: "/S/SO" sets SubfoldersOnly,
// "/S/SI" no IncludeFolder.
SwitchSet StripSwitches(std::string& text);

// A files entry ready for a walk.
struct FilesEntry {
  std::string folder;  // ends with '\'
  std::string mask;    // trimmed of blanks and control characters
  SwitchSet switches;
};

// Splits an expanded files path into folder, mask and switches. False (nothing to walk)
// when the path does not fit into one path, holds no '\' before its switches, names a
// folder that is not fully qualified, holds a '.' or '..' segment, or has an empty mask.
bool ParseFilesEntry(const std::string& expandedPath, FilesEntry& entry);

// Whether a path (switches cut off) holds a segment made only of dots and blanks: ".",
// "..", "...", ". ". The system reads such a segment as the folder itself or its parent,
// so a line could climb out of the folder it names; no definition needs one.
bool HasDotSegment(const std::string& path);

// "X:\..." or "\\server\share\...": a folder that names the same place whatever the
// current folder and drive are. The device forms "\\?\" and "\\.\" are refused.
bool IsFullyQualifiedFolder(const std::string& folder);

// Upper case of every byte: the system code page's on Windows, ASCII natively.
struct CaseFold {
  unsigned char upper[256];
};
CaseFold AsciiCaseFold();

// Whether a file's long name matches a mask by the platform's long-name rules, without
// regard to case: '*' any run of characters, '?' one character, "*.*" every name (those
// without a dot too), a trailing ".*" or '.' may match the end of the name, and a mask
// that ends in '.' matches only names without a dot ("*.", "name."). The platform's own
// search also matches short (8.3) names; this never does.
bool MatchesMask(const char* name, const char* mask, const CaseFold& fold);

enum class Hive { kCurrentUser, kLocalMachine, kUsers, kClassesRoot };

// One line of a `registry` section: hive|key path[|value name].
struct RegistryEntry {
  Hive hive = Hive::kCurrentUser;
  std::string keyPath;
  bool hasValueName = false;
  std::string valueName;  // everything after the second '|', '|' included
};

// False when the line holds no '|', names an unknown hive, or names a whole key with an
// empty path: that would be the whole hive.
bool ParseRegistryEntry(const std::string& line, RegistryEntry& entry);

// ASCII comparison without regard to case (names of hives and macros are ASCII).
bool EqualsNoCase(const std::string& a, const char* b);

// A line that begins with a macro: the token from the first character up to and including
// the next '%', and the rest after it. False when there is no such '%'.
bool SplitMacro(const std::string& line, std::string& token, std::string& rest);

// Whether `text` fits into one path buffer with its terminator.
inline bool FitsPath(std::size_t length) { return length < kPathBufferSize; }

// Attributes of found entries (the platform's values).
constexpr unsigned long kAttributeReadOnly = 0x1;
constexpr unsigned long kAttributeDirectory = 0x10;
constexpr unsigned long kAttributeReparsePoint = 0x400;
// Directory, system and offline: what a walk never counts or deletes as a file.
constexpr unsigned long kNotAFileMask = 0x1014;

inline bool IsMatchingFile(unsigned long attributes) { return (attributes & kNotAFileMask) == 0; }

// A subfolder the walks go into: a folder that is neither "." nor ".." nor a link (a
// junction or symbolic link points somewhere else entirely, which the walk must never
// count or empty).
inline bool IsWalkedFolder(unsigned long attributes, const char* name) {
  if ((attributes & (kAttributeDirectory | kAttributeReparsePoint)) != kAttributeDirectory)
    return false;
  return !(name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)));
}

// Writes `name` (with a '\' after it when `backslash`) into `buffer` at `at`, with the
// terminator, when all of it fits into one path. Returns the new length, or 0 when it
// does not fit (then the buffer is unchanged).
inline std::size_t PutName(char* buffer, std::size_t at, const char* name, std::size_t nameLength,
                           bool backslash) {
  const std::size_t end = at + nameLength + (backslash ? 1 : 0);
  if (!FitsPath(end)) return 0;
  std::memcpy(buffer + at, name, nameLength);
  if (backslash) buffer[end - 1] = '\\';
  buffer[end] = 0;
  return end;
}

}  // namespace textentries
