// A text plug-in: one cleaning item read from a ".vkt" file of the "plug-ins\" folder.
// Its `registry` and `files` sections name what it counts and removes; path macros and
// the process-wide icon cache live here too.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "cleaner/textplugin/FolderWildcards.h"
#include "cleaner/textplugin/PlugInfo.h"
#include "common/deletion/FileSnapshot.h"
#include "common/deletion/RegistryDeletion.h"

class TextPlugInfo final : public PlugInfo {
 public:
  // Reads the Info section at once; an unreadable file gives the default texts.
  explicit TextPlugInfo(std::string filePath);
  TextPlugInfo(const TextPlugInfo&) = delete;
  TextPlugInfo& operator=(const TextPlugInfo&) = delete;

  long long GetSizeFound() override { return sizeFound_; }
  long long GetSizeCleaned() override { return sizeCleaned_; }
  long long GetCountFound() override { return countFound_; }
  long long GetCountCleaned() override { return countCleaned_; }
  HICON GetIcon() override { return icon_; }
  bool CanConfigure() override { return false; }
  const char* GetTitle() override { return title_.c_str(); }
  const char* GetDescription() override { return description_.c_str(); }
  void Configure() override {}
  // Deletes the registry entries (read again from the file), then the files that the last
  // Prepare counted and that are still there unchanged.
  void Clean() override;
  // Counts the registry entries, expands the files lines, and counts their files.
  void Prepare() override;

  const std::vector<std::string>& expandedPaths() const { return expandedPaths_; }

 private:
  std::string filePath_;
  std::string title_;
  std::string description_;
  HICON icon_ = nullptr;  // shared through the icon cache, never destroyed here
  long long countFound_ = 0;
  long long sizeFound_ = 0;
  long long countCleaned_ = 0;
  long long sizeCleaned_ = 0;
  std::vector<std::string> expandedPaths_;
  std::vector<deletion::FileSnapshot> seen_;  // what each expanded path counted
  // What the last Prepare counted of each registry entry, with the entry: Clean deletes only
  // that, so a value or key that came after the count, or an entry added to the file since,
  // stays.
  std::vector<std::pair<std::string, deletion::RegistrySnapshot>> registrySeen_;
};

// Names of the files in `folder` that match `pattern` (e.g. "*.vkp"), sorted by their
// bytes: B.vkp comes before a.vkp.
std::vector<std::string> SortedFileNames(const std::string& folder, const char* pattern);

namespace textplugin {

constexpr const char* kInfoSection = "Info";
constexpr const char* kTitleKey = "Title";
constexpr const char* kDescriptionKey = "Description";
constexpr const char* kIconKey = "Icon";
constexpr const char* kRegistrySection = "registry";
constexpr const char* kFilesSection = "files";
constexpr const char* kDefaultTitle = "Error reading title";
constexpr const char* kDefaultDescription = "Error reading description";
constexpr const char* kOpenError = ": Error opening file";
constexpr const char* kPattern = "*.vkt";

// The lines of a section, read whole into one section buffer (longer sections are cut).
std::vector<std::string> ReadSectionLines(const std::string& file, const char* section);

// The 16 x 16 icon of an icon file, loaded once per process and kept until the end;
// null when the file cannot be loaded (then nothing is remembered).
HICON CachedIcon(const std::string& path);

}  // namespace textplugin

namespace macros {

constexpr const char* kDrive = "%drive%";
constexpr const char* kCurrentVersionKey = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kProgramFilesValue = "ProgramFilesDir";
constexpr const char* kCommonFilesValue = "CommonFilesDir";

// Appends the paths one files line yields: the line with its environment variables
// expanded, or the folder of the macro it begins with followed by the rest, or one path
// per fixed disk for "%drive%". Only the text before the line's first '/' is expanded; the
// switch text from there on follows each path as written. Paths that would not fit into
// one path, or whose expansion holds a '/', are dropped.
void ExpandMacros(const std::string& line, std::vector<std::string>& paths);

// A path with folder wildcards, as the macros left it, and what it expanded to: the paths
// from `first` on, `count` of them.
struct WildcardPath {
  std::string path;
  wildcards::Expansion expansion;
  std::size_t first = 0;
  std::size_t count = 0;
};

// ExpandMacros, then the folder wildcards of each path it yields (FolderListing): one path
// per matching folder, at most wildcards::kMaxPaths for the whole line. `wildcardPaths`,
// when given, gets one record per path that held a wildcard.
void ExpandEntry(const std::string& line, std::vector<std::string>& paths,
                 std::vector<WildcardPath>* wildcardPaths = nullptr);

// The folder of a macro token ("%windir%" and the like, both '%' included, any case);
// empty for an unknown token or a folder the system cannot give.
std::string ResolveMacro(const std::string& token);

// The tokens ResolveMacro knows, in the order of its table ("%drive%" is not among them:
// ExpandEntry handles it itself).
std::vector<std::string> MacroNames();

// A folder value of HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion; empty
// when the key or the value cannot be read.
std::string CurrentVersionFolder(const char* valueName);

}  // namespace macros
