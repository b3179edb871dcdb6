#include "cleaner/tools/vktcheck/VktCheck.h"

namespace vktcheck {

namespace {

using textentries::EqualsNoCase;

std::string WithoutTrailingBackslash(std::string folder) {
  while (folder.size() > 1 && folder.back() == '\\') folder.pop_back();
  return folder;
}

bool SameFolder(const std::string& a, const std::string& b) {
  return !b.empty() && EqualsNoCase(WithoutTrailingBackslash(a), WithoutTrailingBackslash(b).c_str());
}

std::string Parent(const std::string& folder) {
  const std::string f = WithoutTrailingBackslash(folder);
  const std::size_t at = f.find_last_of('\\');
  return at == std::string::npos ? std::string() : f.substr(0, at);
}

// "X:\" or "\\server\share\".
bool IsRoot(const std::string& folder) {
  if (folder.size() == 3 && folder[1] == ':' && folder[2] == '\\') return true;
  if (folder.compare(0, 2, "\\\\") != 0) return false;
  const std::size_t server = folder.find('\\', 2);
  if (server == std::string::npos) return true;
  const std::size_t share = folder.find('\\', server + 1);
  return share == std::string::npos || share + 1 == folder.size();
}

bool MasksEverything(const std::string& mask) { return mask == "*" || mask == "*.*"; }

Finding Nothing(std::string text) { return {Severity::kDoesNothing, std::move(text)}; }
Finding Wide(std::string text) { return {Severity::kWide, std::move(text)}; }

}  // namespace

const char* HiveName(textentries::Hive hive) {
  switch (hive) {
    case textentries::Hive::kCurrentUser: return "HKEY_CURRENT_USER";
    case textentries::Hive::kLocalMachine: return "HKEY_LOCAL_MACHINE";
    case textentries::Hive::kUsers: return "HKEY_USERS";
    case textentries::Hive::kClassesRoot: return "HKEY_CLASSES_ROOT";
  }
  return "";
}

std::string SwitchText(const textentries::SwitchSet& switches) {
  if (!switches.subfolders) return "";
  if (switches.includeFolder && switches.subfoldersOnly) return "/SI /SO";
  if (switches.includeFolder) return "/SI";
  if (switches.subfoldersOnly) return "/SO";
  return "/S";
}

std::vector<Finding> CheckFilesLine(const std::string& line) {
  std::vector<Finding> findings;
  const std::size_t slash = line.find('/');
  const std::string path = line.substr(0, slash);
  const std::size_t backslash = path.find('\\');
  const std::size_t equals = path.find('=');
  if (equals != std::string::npos && (backslash == std::string::npos || equals < backslash))
    findings.push_back(Nothing("equals sign: the name and the '=' are part of the path"));
  if (backslash == std::string::npos)
    findings.push_back(Nothing("no backslash before the switches: no folder to walk"));
  else if (slash != std::string::npos && line.find('\\', slash) != std::string::npos)
    findings.push_back(Nothing("switch before the mask: the entry ends at the '/', the mask is lost"));
  return findings;
}

std::vector<Finding> CheckExpandedPath(const std::string& expandedPath, const Folders& folders,
                                       textentries::FilesEntry& entry, bool& usable) {
  std::vector<Finding> findings;
  usable = textentries::ParseFilesEntry(expandedPath, entry);
  if (!usable) {
    std::string path = expandedPath;
    textentries::StripSwitches(path);
    const std::size_t last = path.find_last_of('\\');
    if (!textentries::FitsPath(expandedPath.size()))
      findings.push_back(Nothing("longer than one path (259 characters)"));
    else if (last != std::string::npos && !textentries::IsFullyQualifiedFolder(path.substr(0, last + 1)))
      findings.push_back(Nothing("relative path: the folder is not fully qualified"));
    else
      findings.push_back(Nothing("no folder or no mask"));
    return findings;
  }
  const std::string& folder = entry.folder;
  if (IsRoot(folder)) findings.push_back(Wide("reaches a whole drive"));
  if (SameFolder(folder, folders.profile) || SameFolder(folder, Parent(folders.profile)))
    findings.push_back(Wide("reaches a profile root"));
  if (SameFolder(folder, folders.windows) || SameFolder(folder, folders.system))
    findings.push_back(Wide("reaches into the Windows folder itself"));
  if (entry.switches.subfolders && MasksEverything(entry.mask)) {
    for (const std::string& known : folders.known) {
      if (SameFolder(folder, known)) {
        findings.push_back(Wide("/S with " + entry.mask + " directly below a known folder"));
        break;
      }
    }
  }
  return findings;
}

std::vector<Finding> CheckRegistryLine(const std::string& line, textentries::RegistryEntry& entry,
                                       bool& usable) {
  std::vector<Finding> findings;
  usable = textentries::ParseRegistryEntry(line, entry);
  const std::size_t bar = line.find('|');
  const std::size_t equals = line.find('=');
  if (equals != std::string::npos && (bar == std::string::npos || equals < bar))
    findings.push_back(Nothing("equals sign: the name and the '=' are part of the entry"));
  if (bar == std::string::npos) {
    findings.push_back(Nothing("no '|': not a registry entry"));
  } else if (!usable) {
    textentries::RegistryEntry probe;
    if (textentries::ParseRegistryEntry(line.substr(0, bar) + "|x", probe))
      findings.push_back(Nothing("a whole hive: the engine never deletes one"));
    else
      findings.push_back(Nothing("unknown hive " + line.substr(0, bar)));
  }
  if (!usable || entry.hasValueName) return findings;
  // "Software" or "Software\Vendor": everything of a vendor, or more.
  std::string path = entry.keyPath;
  while (!path.empty() && path.back() == '\\') path.pop_back();
  std::size_t separators = 0;
  for (char c : path) separators += c == '\\';
  if (separators <= 1) findings.push_back(Wide("a whole key directly under a hive's top keys"));
  return findings;
}

}  // namespace vktcheck
