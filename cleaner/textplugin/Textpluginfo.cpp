#include "cleaner/textplugin/Textpluginfo.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <new>

#include "cleaner/textplugin/Diskscan.h"
#include "cleaner/textplugin/FolderListing.h"
#include "cleaner/textplugin/Regenum.h"
#include "cleaner/textplugin/TextEntries.h"
#include "common/Ini.h"
#include "common/Unique.h"

using textentries::FilesEntry;
using textentries::RegistryEntry;

std::vector<std::string> SortedFileNames(const std::string& folder, const char* pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  win::UniqueFind find(FindFirstFileA((folder + pattern).c_str(), &data));
  if (!find) return names;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
  } while (FindNextFileA(find.get(), &data));
  // std::string compares as unsigned characters: plain character code order.
  std::sort(names.begin(), names.end());
  return names;
}

namespace {

// One text for the registry entries that name the same key or value: the registry
// compares names without regard to case.
std::string SameEntryKey(const RegistryEntry& entry) {
  std::string key = std::to_string(static_cast<int>(entry.hive)) + "|" + entry.keyPath;
  if (entry.hasValueName) key += "|" + entry.valueName;
  for (char& c : key)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return key;
}

}  // namespace

TextPlugInfo::TextPlugInfo(std::string filePath) : filePath_(std::move(filePath)) {
  try {
    title_ = ini::ReadString(filePath_, textplugin::kInfoSection, textplugin::kTitleKey,
                             textplugin::kDefaultTitle);
    description_ = ini::ReadString(filePath_, textplugin::kInfoSection,
                                   textplugin::kDescriptionKey, textplugin::kDefaultDescription);
    const std::string iconName =
        ini::ReadString(filePath_, textplugin::kInfoSection, textplugin::kIconKey, "");
    if (!iconName.empty()) {
      const std::string folder = filePath_.substr(0, filePath_.find_last_of('\\') + 1);
      icon_ = textplugin::CachedIcon(folder + iconName);
    }
  } catch (const std::bad_alloc&) {
    try {
      title_ = filePath_ + textplugin::kOpenError;
    } catch (const std::bad_alloc&) {
      title_.clear();
    }
  }
}

void TextPlugInfo::Prepare() {
  // Nothing is reported upward: running out of memory ends the counting where it is.
  try {
    countFound_ = 0;
    sizeFound_ = 0;
    RegistryEntry registry;
    registrySeen_.clear();
    for (const std::string& line : textplugin::ReadSectionLines(filePath_, textplugin::kRegistrySection)) {
      if (!textentries::ParseRegistryEntry(line, registry)) continue;
      registrySeen_.emplace_back(SameEntryKey(registry), deletion::RegistrySnapshot());
      CountEntry(HiveKey(registry.hive), registry.keyPath.c_str(),
                 registry.hasValueName ? registry.valueName.c_str() : nullptr, countFound_, sizeFound_,
                 &registrySeen_.back().second);
    }
    expandedPaths_.clear();
    seen_.clear();
    for (const std::string& line : textplugin::ReadSectionLines(filePath_, textplugin::kFilesSection))
      macros::ExpandEntry(line, expandedPaths_);
    seen_.resize(expandedPaths_.size());
    FilesEntry files;
    for (std::size_t i = 0; i < expandedPaths_.size(); ++i) {
      if (!textentries::ParseFilesEntry(expandedPaths_[i], files)) continue;
      const WalkResult found =
          CountFolder(files.folder.c_str(), files.mask.c_str(), files.switches, &seen_[i]);
      countFound_ += found.entries;
      sizeFound_ += found.bytes;
    }
  } catch (const std::bad_alloc&) {
  }
}

void TextPlugInfo::Clean() {
  try {
    countCleaned_ = 0;
    sizeCleaned_ = 0;
    RegistryEntry registry;
    std::vector<bool> used(registrySeen_.size(), false);
    for (const std::string& line : textplugin::ReadSectionLines(filePath_, textplugin::kRegistrySection)) {
      if (!textentries::ParseRegistryEntry(line, registry)) continue;
      // The count of the same entry, each count used once; an entry the count never saw
      // deletes nothing.
      const std::string key = SameEntryKey(registry);
      std::size_t seen = 0;
      while (seen < registrySeen_.size() && (used[seen] || registrySeen_[seen].first != key)) ++seen;
      if (seen == registrySeen_.size()) continue;
      used[seen] = true;
      DeleteEntry(HiveKey(registry.hive), registry.keyPath.c_str(),
                  registry.hasValueName ? registry.valueName.c_str() : nullptr, countCleaned_,
                  sizeCleaned_, &registrySeen_[seen].second);
    }
    FilesEntry files;
    for (std::size_t i = 0; i < expandedPaths_.size() && i < seen_.size(); ++i) {
      if (!textentries::ParseFilesEntry(expandedPaths_[i], files)) continue;
      // Removes the named folder too when the entry asks for it.
      const WalkResult cleaned =
          DeleteFolder(files.folder.c_str(), files.mask.c_str(), files.switches, seen_[i]);
      countCleaned_ += cleaned.entries;
      sizeCleaned_ += cleaned.bytes;
    }
  } catch (const std::bad_alloc&) {
  }
}

namespace textplugin {

std::vector<std::string> ReadSectionLines(const std::string& file, const char* section) {
  std::vector<char> buffer(textentries::kSectionBufferSize);
  const DWORD size = static_cast<DWORD>(buffer.size());
  const DWORD length = GetPrivateProfileSectionA(section, buffer.data(), size, file.c_str());
  std::vector<std::string> lines = textentries::SectionLines(buffer.data(), length);
  // A section cut by the buffer ends in a line cut short: "...\Vendor\App\Cache" cut to
  // "...\Vendor" would name a different, larger key or folder. Only whole lines count.
  if (length >= size - 2 && !lines.empty()) lines.pop_back();
  return lines;
}

HICON CachedIcon(const std::string& path) {
  // Icons stay loaded until the program ends; the map is never used to destroy them.
  static std::map<std::string, HICON> cache;
  std::string key = path;
  if (!key.empty()) CharLowerBuffA(&key[0], static_cast<DWORD>(key.size()));
  const auto found = cache.find(key);
  if (found != cache.end()) return found->second;
  HICON icon = static_cast<HICON>(LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 16, 16, LR_LOADFROMFILE));
  if (!icon) return nullptr;
  cache.emplace(key, icon);
  return icon;
}

}  // namespace textplugin

namespace macros {

namespace {

enum class Source { kWindows, kSystem, kShell };

struct Macro {
  const char* name;
  Source source;
  int folder;            // CSIDL of a shell folder
  const char* fallback;  // value of the CurrentVersion key, or null
};

const Macro kMacros[] = {
    {"%windir%", Source::kWindows, 0, nullptr},
    {"%sysdir%", Source::kSystem, 0, nullptr},
    {"%appdata%", Source::kShell, CSIDL_APPDATA, nullptr},
    {"%programfiles%", Source::kShell, CSIDL_PROGRAM_FILES, kProgramFilesValue},
    {"%desktop%", Source::kShell, CSIDL_DESKTOPDIRECTORY, nullptr},
    {"%commonappdata%", Source::kShell, CSIDL_COMMON_APPDATA, nullptr},
    {"%commondesktop%", Source::kShell, CSIDL_COMMON_DESKTOPDIRECTORY, nullptr},
    {"%commondocs%", Source::kShell, CSIDL_COMMON_DOCUMENTS, nullptr},
    {"%commonprogramfiles%", Source::kShell, CSIDL_PROGRAM_FILES_COMMON, kCommonFilesValue},
    {"%localappdata%", Source::kShell, CSIDL_LOCAL_APPDATA, nullptr},
};

struct ItemListFree {
  void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};

std::string FromBuffer(const char* buffer, UINT length) {
  if (length == 0 || length >= MAX_PATH) return std::string();
  return std::string(buffer, length);
}

std::string ShellFolder(const Macro& macro) {
  ITEMIDLIST* list = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, macro.folder, &list)) || !list)
    return macro.fallback ? CurrentVersionFolder(macro.fallback) : std::string();
  const std::unique_ptr<ITEMIDLIST, ItemListFree> owner(list);
  char path[MAX_PATH] = "";
  if (!SHGetPathFromIDListA(list, path)) return std::string();
  return std::string(path, strnlen(path, MAX_PATH));
}

void Append(std::vector<std::string>& paths, std::string path) {
  if (textentries::FitsPath(path.size())) paths.push_back(std::move(path));
}

}  // namespace

std::string CurrentVersionFolder(const char* valueName) {
  win::UniqueKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersionKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
    return std::string();
  char path[MAX_PATH];
  DWORD size = sizeof path;
  DWORD type = 0;
  if (RegQueryValueExA(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(path),
                       &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return std::string();
  return std::string(path, strnlen(path, size));
}

std::vector<std::string> MacroNames() {
  std::vector<std::string> names;
  for (const Macro& macro : kMacros) names.push_back(macro.name);
  return names;
}

std::string ResolveMacro(const std::string& token) {
  for (const Macro& macro : kMacros) {
    if (!textentries::EqualsNoCase(token, macro.name)) continue;
    char path[MAX_PATH];
    switch (macro.source) {
      case Source::kWindows: return FromBuffer(path, GetWindowsDirectoryA(path, MAX_PATH));
      case Source::kSystem: return FromBuffer(path, GetSystemDirectoryA(path, MAX_PATH));
      case Source::kShell: return ShellFolder(macro);
    }
  }
  return std::string();
}

void ExpandMacros(const std::string& line, std::vector<std::string>& paths) {
  // The switches are the line's own text from its first '/': a '/' that a variable or a
  // macro brings in must never cut the path or add a switch. A path part whose expansion
  // holds a '/' is dropped.
  const std::size_t slash = line.find('/');
  const std::string path = line.substr(0, slash);
  const std::string switches = slash == std::string::npos ? std::string() : line.substr(slash);
  auto append = [&](const std::string& expandedPath) {
    if (expandedPath.find('/') == std::string::npos) Append(paths, expandedPath + switches);
  };
  char expanded[MAX_PATH];
  const DWORD length = ExpandEnvironmentStringsA(path.c_str(), expanded, sizeof expanded);
  if (length != 0 && length <= sizeof expanded && expanded[0] != '%') {
    append(std::string(expanded, strnlen(expanded, sizeof expanded)));
    return;
  }
  std::string token;
  std::string rest;
  if (!textentries::SplitMacro(path, token, rest)) return;
  if (textentries::EqualsNoCase(token, kDrive)) {
    char roots[MAX_PATH];
    const DWORD size = GetLogicalDriveStringsA(sizeof roots, roots);
    if (size == 0 || size >= sizeof roots) return;
    for (const char* root = roots; root < roots + size && *root; root += std::strlen(root) + 1) {
      if (GetDriveTypeA(root) == DRIVE_FIXED) append(root + rest);
    }
    return;
  }
  const std::string folder = ResolveMacro(token);
  if (!folder.empty()) append(folder + rest);
}

void ExpandEntry(const std::string& line, std::vector<std::string>& paths,
                 std::vector<WildcardPath>* wildcardPaths) {
  std::vector<std::string> expanded;
  ExpandMacros(line, expanded);
  std::size_t budget = wildcards::kMaxPaths;
  for (std::string& path : expanded) {
    const std::size_t first = paths.size();
    const wildcards::Expansion expansion = wildcards::ExpandOnDisk(path, budget, paths);
    if (expansion.outcome == wildcards::Outcome::kNoWildcard) {
      paths.push_back(std::move(path));
      continue;
    }
    budget -= paths.size() - first;
    if (wildcardPaths) wildcardPaths->push_back({std::move(path), expansion, first, paths.size() - first});
  }
}

}  // namespace macros
