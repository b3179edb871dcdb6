#include "plugins/standard/Rules.h"

#include <climits>
#include <algorithm>
#include <cstring>
#include <set>

namespace orvane {

const char* const kTempDescriptionText =
    "Select this option to clean up the Windows System Temporary Folder. All files in it "
    "will be deleted. This folder is '";

std::string SettingsFolder(const std::string& programPath) {
  const std::size_t slash = programPath.find_last_of('\\');
  return slash == std::string::npos ? std::string() : programPath.substr(0, slash + 1);
}

int LeadingNumber(const std::string& text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  bool digits = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    digits = true;
    if (value <= static_cast<long long>(INT_MAX) + 1) value = value * 10 + (text[i] - '0');
  }
  if (!digits) return 0;
  if (negative) return value > static_cast<long long>(INT_MAX) + 1 ? INT_MIN : static_cast<int>(-value);
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

std::string TempItemDescription(const std::string& tempFolder) {
  std::string text = kTempDescriptionText + tempFolder + "'";
  if (text.size() > kDescriptionLimit) text.resize(kDescriptionLimit);
  return text;
}

namespace {

bool StartsWith(const std::string& text, const char* prefix) {
  return text.compare(0, std::strlen(prefix), prefix) == 0;
}

// `inner` is `outer` or lies below it (both canonical).
bool IsWithin(const std::string& inner, const std::string& outer) {
  if (inner.size() < outer.size() || inner.compare(0, outer.size(), outer) != 0) return false;
  return inner.size() == outer.size() || inner[outer.size()] == '\\';
}

}  // namespace

std::string CanonicalFolder(const std::string& fullPath, std::size_t* rootLength) {
  std::string path = fullPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  // The device forms name a drive or a share only as "\\?\C:\..." and "\\?\UNC\...".
  if (StartsWith(path, "\\\\?\\") || StartsWith(path, "\\\\.\\")) {
    const std::string rest = path.substr(4);
    if (rest.size() >= 4 && (rest[0] == 'U' || rest[0] == 'u') && (rest[1] == 'N' || rest[1] == 'n') &&
        (rest[2] == 'C' || rest[2] == 'c') && rest[3] == '\\') {
      path = "\\\\" + rest.substr(4);
    } else {
      path = rest;
    }
  }
  std::vector<std::string> parts;
  std::size_t at = 0;
  auto next = [&path, &at]() {
    if (at > path.size()) return std::string();
    const std::size_t end = std::min(path.find('\\', at), path.size());
    std::string part = path.substr(at, end - at);
    at = end + 1;
    return part;
  };
  auto trimmed = [](std::string part) {
    while (!part.empty() && (part.back() == ' ' || part.back() == '.')) part.pop_back();
    return part;
  };
  std::string root;
  if (path.size() >= 2 && path[1] == ':' &&
      ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
    if (path.size() > 2 && path[2] != '\\') return std::string();  // "C:x" is relative
    root = path.substr(0, 2);
    at = 3;
  } else if (StartsWith(path, "\\\\")) {
    at = 2;
    const std::string server = trimmed(next());
    const std::string share = trimmed(next());
    if (server.empty() || share.empty() || server == "?") return std::string();
    root = "\\\\" + server + "\\" + share;
  } else {
    return std::string();
  }
  while (at <= path.size()) {
    const std::string raw = next();
    if (raw == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    const std::string part = trimmed(raw);
    if (!part.empty()) parts.push_back(part);  // "" and "." name the folder itself
  }
  if (rootLength) *rootLength = root.size();
  for (const std::string& part : parts) root += "\\" + part;
  return root;
}

namespace {

std::string UpperAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

// Canonical and upper-cased; empty when it names no folder.
std::string Comparable(const std::string& path) { return UpperAscii(CanonicalFolder(path)); }

std::string ParentOf(const std::string& folder) {
  const std::size_t at = folder.find_last_of('\\');
  return at == std::string::npos ? std::string() : folder.substr(0, at);
}

bool IsAppDataRoot(const std::string& relative) {
  return relative == "APPDATA" || relative == "APPDATA\\LOCAL" || relative == "APPDATA\\ROAMING" ||
         relative == "APPDATA\\LOCALLOW";
}

}  // namespace

bool TempRootAccepted(const std::string& finalPath, const SystemFolders& folders) {
  std::size_t rootLength = 0;
  const std::string temp = UpperAscii(CanonicalFolder(finalPath, &rootLength));
  if (temp.empty() || temp.size() == rootLength || temp.size() < 4) return false;  // not a folder, or a root
  const std::string windows = Comparable(folders.windows);
  const std::string system = Comparable(folders.system);
  const std::string users = Comparable(folders.users);
  if (!windows.empty() && IsWithin(temp, windows)) return false;
  if (!system.empty() && (IsWithin(temp, system) || temp.find(system) != std::string::npos)) return false;
  std::vector<std::string> never = {windows, system, users};
  for (const std::string& kept : folders.kept) never.push_back(Comparable(kept));
  std::vector<std::string> profiles;
  for (const std::string& profile : folders.profiles) profiles.push_back(Comparable(profile));
  never.insert(never.end(), profiles.begin(), profiles.end());
  for (const std::string& folder : never)
    if (!folder.empty() && IsWithin(folder, temp)) return false;  // it, or a folder above it
  // Every folder right in the folder of the profiles is somebody's profile root.
  if (!users.empty() && ParentOf(temp) == users) return false;
  if (!users.empty() && IsWithin(temp, users)) {
    const std::string inProfile = temp.substr(users.size() + 1);
    const std::size_t slash = inProfile.find('\\');
    if (slash != std::string::npos && IsAppDataRoot(inProfile.substr(slash + 1))) return false;
  }
  for (const std::string& profile : profiles)
    if (!profile.empty() && IsWithin(temp, profile) && temp.size() > profile.size() &&
        IsAppDataRoot(temp.substr(profile.size() + 1)))
      return false;
  return true;
}

bool WriteAt(char* buffer, std::size_t at, const char* name, const char* tail) {
  const std::size_t nameLength = std::strlen(name);
  const std::size_t tailLength = std::strlen(tail);
  if (at >= kPathSize || nameLength + tailLength >= kPathSize - at) return false;
  std::memcpy(buffer + at, name, nameLength);
  std::memcpy(buffer + at + nameLength, tail, tailLength + 1);
  return true;
}

CacheKind KindOf(std::uint32_t entryType) {
  if (entryType & kCookieEntry) return CacheKind::Cookie;
  if (entryType & kHistoryEntry) return CacheKind::History;
  return CacheKind::Ordinary;
}

void CountCacheEntry(CacheCounts& counts, std::uint32_t entryType, long long size,
                     bool newerLevel) {
  switch (KindOf(entryType)) {
    case CacheKind::Cookie:
      counts.cookies.count += 1;
      counts.cookies.size += size;
      break;
    case CacheKind::History:
      counts.history.count += 1;
      if (!newerLevel) counts.history.size += size;
      break;
    case CacheKind::Ordinary:
      counts.ordinary.count += 1;
      counts.ordinary.size += size;
      break;
  }
}

namespace {
bool IsEndMark(const std::string& value) {
  return value.size() == 2 && value[0] == '-' && value[1] == '1';
}
}  // namespace

ProtectedListBuilder::Result ProtectedListBuilder::AddStored(const std::string& value) {
  if (IsEndMark(value)) return Result::End;
  Add(value);
  return Result::Appended;
}

void ProtectedListBuilder::Add(const std::string& name) {
  if (name.empty()) return;
  // The name and its NUL go where the final empty name was; a new empty name follows.
  // Room is made first, so running out of memory leaves the block as it was.
  block_.reserve(block_.size() + name.size() + 1);
  block_.insert(block_.end() - 1, name.begin(), name.end());
  block_.insert(block_.end() - 1, '\0');
}

std::vector<std::string> ProtectedNames(const char* block) {
  std::vector<std::string> names;
  if (!block) return names;
  for (const char* name = block; *name; name += std::strlen(name) + 1) names.emplace_back(name);
  return names;
}

bool IsProtected(const char* block, const char* name) {
  if (!block || !name) return false;
  for (const char* listed = block; *listed; listed += std::strlen(listed) + 1)
    if (std::strcmp(listed, name) == 0) return true;
  return false;
}

std::vector<std::string> NamesToWrite(const std::vector<std::string>& shown,
                                      const std::vector<std::string>& read,
                                      const std::vector<std::string>& removedByUser) {
  std::vector<std::string> names = shown;
  std::multiset<std::string> accounted(shown.begin(), shown.end());
  accounted.insert(removedByUser.begin(), removedByUser.end());
  for (const std::string& name : read) {
    const auto found = accounted.find(name);
    if (found != accounted.end()) {
      accounted.erase(found);
    } else if (!name.empty()) {
      names.push_back(name);
    }
  }
  return names;
}

bool MayDelete(const char* block, const char* name, int daysToKeep,
               unsigned long long nowFileTime, unsigned long long lastAccessFileTime) {
  if (IsProtected(block, name)) return false;
  if (daysToKeep > 0) {
    if (lastAccessFileTime > nowFileTime) return false;
    const unsigned long long days = (nowFileTime - lastAccessFileTime) / kFileTimeDay;
    if (days < static_cast<unsigned long long>(daysToKeep)) return false;
  }
  return true;
}

}  // namespace orvane
