#include "cleaner/tools/vktcheck/VktCheck.h"

#include <algorithm>
#include <initializer_list>

namespace vktcheck {

namespace {

using textentries::EqualsNoCase;

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string UpperText(std::string text) {
  for (char& c : text) c = Upper(c);
  return text;
}

// Both resolved (no trailing '\\').
bool SameFolder(const std::string& a, const std::string& b) {
  return !a.empty() && !b.empty() && EqualsNoCase(a, b.c_str());
}

// `inner` lies below `outer` (both resolved), not at it.
bool Below(const std::string& inner, const std::string& outer) {
  return !outer.empty() && inner.size() > outer.size() + 1 && inner[outer.size()] == '\\' &&
         EqualsNoCase(inner.substr(0, outer.size()), outer.c_str());
}

std::string Parent(const std::string& folder) {
  const std::size_t at = folder.find_last_of('\\');
  return at == std::string::npos ? std::string() : folder.substr(0, at);
}

// "X:" or "\\\\server\\share" (resolved).
bool IsRoot(const std::string& folder) {
  if (folder.size() == 2 && folder[1] == ':') return true;
  if (folder.compare(0, 2, "\\\\") != 0) return false;
  const std::size_t server = folder.find('\\', 2);
  return server == std::string::npos || folder.find('\\', server + 1) == std::string::npos;
}

// Masks that take (nearly) every name: only wildcards and dots, with a star ("*", "*.*",
// "**", "?*", "*.").
bool MasksEverything(const std::string& mask) {
  return mask.find('*') != std::string::npos && mask.find_first_not_of("*?.") == std::string::npos;
}

// A segment written as a short (8.3) name, "PROGRA~1": which folder it names is the
// system's choice on each machine.
bool HasShortName(const std::string& folder) {
  for (std::size_t at = folder.find('~'); at != std::string::npos; at = folder.find('~', at + 1))
    if (at + 1 < folder.size() && folder[at + 1] >= '0' && folder[at + 1] <= '9') return true;
  return false;
}

bool IsLocalServer(const std::string& server, const std::string& computer) {
  return EqualsNoCase(server, "localhost") || server == "127.0.0.1" || server == "::1" ||
         EqualsNoCase(server, "0--1.ipv6-literal.net") || SameFolder(server, computer);
}

Finding Nothing(std::string text) { return {Severity::kDoesNothing, std::move(text)}; }
Finding Wide(std::string text) { return {Severity::kWide, std::move(text)}; }

}  // namespace

std::string ResolvedFolder(const std::string& folder, const std::string& computer) {
  std::string path = folder;
  if (path.compare(0, 4, "\\\\?\\") == 0 || path.compare(0, 4, "\\\\.\\") == 0) {
    path = path.substr(4);
    if (path.size() >= 4 && EqualsNoCase(path.substr(0, 4), "UNC\\")) path = "\\\\" + path.substr(4);
  }
  std::vector<std::string> parts;
  std::size_t at = 0;
  auto next = [&path, &at] {
    const std::size_t end = std::min(path.find('\\', at), path.size());
    std::string part = path.substr(at, end - at);
    at = end + 1;
    while (!part.empty() && (part.back() == ' ' || part.back() == '.') && part != "." && part != "..")
      part.pop_back();
    return part;
  };
  std::string root;
  if (path.size() >= 2 && path[1] == ':' && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
    if (path.size() > 2 && path[2] != '\\') return std::string();
    root = std::string(1, Upper(path[0])) + ":";
    at = 3;
  } else if (path.compare(0, 2, "\\\\") == 0) {
    at = 2;
    const std::string server = next();
    const std::string share = next();
    if (server.empty() || share.empty() || server == "?" || server == ".") return std::string();
    if (share.size() == 2 && share[1] == '$' && IsLocalServer(server, computer))
      root = std::string(1, Upper(share[0])) + ":";  // the administrative share of a drive
    else
      root = "\\\\" + server + "\\" + share;
  } else {
    return std::string();
  }
  while (at <= path.size()) {
    const std::string part = next();
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
  }
  for (const std::string& part : parts) root += "\\" + part;
  return root;
}

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
  std::string path = expandedPath;
  textentries::StripSwitches(path);
  if (!usable) {
    const std::size_t last = path.find_last_of('\\');
    if (!textentries::FitsPath(expandedPath.size()))
      findings.push_back(Nothing("longer than one path (259 characters)"));
    else if (last != std::string::npos && !textentries::IsFullyQualifiedFolder(path.substr(0, last + 1)))
      findings.push_back(Nothing("relative path: the folder is not fully qualified"));
    else if (textentries::HasDotSegment(path))
      findings.push_back(Wide("a '.' or '..' segment: it may climb out of the folder it names, so the cleaner drops the line"));
    else
      findings.push_back(Nothing("no folder or no mask"));
    return findings;
  }
  // Judged as the system will resolve it.
  const std::string folder = ResolvedFolder(entry.folder, folders.computer);
  const std::string windows = ResolvedFolder(folders.windows);
  const std::string system = ResolvedFolder(folders.system);
  const std::string profile = ResolvedFolder(folders.profile);
  const bool everything = MasksEverything(entry.mask);
  const bool deep = entry.switches.subfolders;
  if (HasShortName(entry.folder))
    findings.push_back(Wide("a short (8.3) name: the system picks the folder it names, differently on each machine"));
  if (IsRoot(folder)) findings.push_back(Wide("reaches a whole drive"));
  if (SameFolder(folder, profile) || SameFolder(folder, Parent(profile)) ||
      (Below(folder, Parent(profile)) && SameFolder(Parent(folder), Parent(profile))))
    findings.push_back(Wide("reaches a profile root"));
  if (SameFolder(folder, windows) || SameFolder(folder, system)) {
    findings.push_back(Wide("reaches into the Windows folder itself"));
  } else if (Below(folder, windows) && (deep || everything) &&
             !(SameFolder(Parent(folder), windows) && EqualsNoCase(folder.substr(windows.size() + 1), "Temp"))) {
    findings.push_back(Wide("every file or every subfolder of a folder of the system (below the Windows folder)"));
  }
  for (const std::string& known : folders.known) {
    const std::string resolved = ResolvedFolder(known);
    if (deep && everything && SameFolder(folder, resolved)) {
      findings.push_back(Wide("/S with " + entry.mask + " directly below a known folder"));
      break;
    }
    if (deep && Below(resolved, folder)) {
      findings.push_back(Wide("/S over a folder that holds a known folder (" + known + ")"));
      break;
    }
  }
  return findings;
}

std::vector<Finding> CheckWildcardPath(const std::string& path, const wildcards::Expansion& expansion,
                                       const Folders& folders) {
  std::vector<Finding> findings;
  switch (expansion.outcome) {
    case wildcards::Outcome::kNoWildcard: return findings;
    case wildcards::Outcome::kTooManyWildcards:
      findings.push_back(Nothing("more than two wildcard folders: the engine expands none"));
      return findings;
    case wildcards::Outcome::kWildcardInRoot:
      findings.push_back(Nothing("a wildcard in the drive or share: the engine expands none"));
      return findings;
    case wildcards::Outcome::kExpanded: break;
  }
  // "%localappdata%\*\..." matches every application's folder.
  // Compared as the system resolves both sides, like every other folder check here.
  const std::string above = ResolvedFolder(wildcards::FolderAboveWildcard(path), folders.computer);
  const std::string profile = ResolvedFolder(folders.profile);
  bool known = IsRoot(above) || SameFolder(above, profile) || SameFolder(above, Parent(profile)) ||
               SameFolder(above, ResolvedFolder(folders.windows)) || SameFolder(above, ResolvedFolder(folders.system));
  for (const std::string& folder : folders.known) known = known || SameFolder(above, ResolvedFolder(folder));
  if (known) findings.push_back(Wide("a wildcard directly below a known folder"));
  if (expansion.truncated)
    findings.push_back(Wide("more than " + std::to_string(wildcards::kMaxPaths) +
                            " folders match: the engine drops the rest"));
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
  // The key as the registry resolves it: empty segments dropped.
  std::vector<std::string> parts;
  for (std::size_t at = 0; at <= entry.keyPath.size();) {
    const std::size_t end = std::min(entry.keyPath.find('\\', at), entry.keyPath.size());
    if (end > at) parts.push_back(UpperText(entry.keyPath.substr(at, end - at)));
    at = end + 1;
  }
  textentries::Hive hive = entry.hive;
  // A user's hive below HKEY_USERS is that user's HKEY_CURRENT_USER.
  if (hive == textentries::Hive::kUsers) {
    if (parts.size() <= 1) {
      findings.push_back(Wide("a whole user's hive"));
      return findings;
    }
    parts.erase(parts.begin());
    hive = textentries::Hive::kCurrentUser;
  }
  auto startsWith = [&parts](std::initializer_list<const char*> names) {
    if (parts.size() < names.size()) return false;
    std::size_t i = 0;
    for (const char* name : names)
      if (parts[i++] != name) return false;
    return true;
  };
  if (startsWith({"SOFTWARE", "WOW6432NODE"})) parts.erase(parts.begin() + 1);
  // The classes below Software\Classes are HKEY_CLASSES_ROOT's.
  if (startsWith({"SOFTWARE", "CLASSES"})) {
    parts.erase(parts.begin(), parts.begin() + 2);
    hive = textentries::Hive::kClassesRoot;
  }
  if (hive == textentries::Hive::kClassesRoot) {
    // A single class (CLSID\{...}) is narrow; a whole top key of the classes is not.
    if (parts.size() <= 1) findings.push_back(Wide("a whole top key of the classes"));
    return findings;
  }
  if (parts.size() <= 2) {
    findings.push_back(Wide("a whole key directly under a hive's top keys"));
    return findings;
  }
  if (hive == textentries::Hive::kLocalMachine &&
      (startsWith({"SYSTEM"}) || startsWith({"SAM"}) || startsWith({"SECURITY"}) || startsWith({"HARDWARE"}))) {
    findings.push_back(Wide("the system's own configuration"));
    return findings;
  }
  // Keys the system starts programs or takes its settings from, and every key above them.
  static const std::vector<std::vector<const char*>> kVital = {
      {"SOFTWARE", "MICROSOFT", "WINDOWS", "CURRENTVERSION", "RUN"},
      {"SOFTWARE", "MICROSOFT", "WINDOWS", "CURRENTVERSION", "RUNONCE"},
      {"SOFTWARE", "MICROSOFT", "WINDOWS", "CURRENTVERSION", "POLICIES"},
      {"SOFTWARE", "MICROSOFT", "WINDOWS", "CURRENTVERSION", "EXPLORER", "SHELL FOLDERS"},
      {"SOFTWARE", "MICROSOFT", "WINDOWS", "CURRENTVERSION", "EXPLORER", "USER SHELL FOLDERS"},
      {"SOFTWARE", "MICROSOFT", "WINDOWS NT", "CURRENTVERSION", "WINLOGON"},
      {"SOFTWARE", "POLICIES", "MICROSOFT"},
  };
  for (const std::vector<const char*>& vital : kVital) {
    if (parts.size() > vital.size()) continue;
    bool above = true;
    for (std::size_t i = 0; i < parts.size() && above; ++i) above = parts[i] == vital[i];
    if (above) {
      findings.push_back(Wide("holds keys the system starts programs or takes its settings from"));
      break;
    }
  }
  return findings;
}

}  // namespace vktcheck
