#include "plugins/standard/Rules.h"

#include <climits>
#include <algorithm>
#include <cstring>

namespace orvane {

const char* const kTempDescriptionText =
    "Select this option to clean up the Windows System Temporary Folder. All files in it "
    "will be deleted. This folder is '";

std::string SettingsFolder(const std::string& commandLine) {
  const std::size_t start = (!commandLine.empty() && commandLine[0] == '"') ? 1 : 0;
  const std::size_t slash = commandLine.find_last_of('\\');
  if (slash == std::string::npos || slash < start) return std::string();
  return commandLine.substr(start, slash + 1 - start);
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

bool TempFolderAccepted(const std::string& tempUpper, const std::string& windowsUpper,
                        const std::string& systemUpper) {
  std::size_t rootLength = 0;
  const std::string temp = CanonicalFolder(tempUpper, &rootLength);
  if (temp.empty() || temp.size() == rootLength) return false;  // not a folder, or a root
  const std::string windows = CanonicalFolder(windowsUpper);
  const std::string system = CanonicalFolder(systemUpper);
  if (!windows.empty() && IsWithin(windows, temp)) return false;
  if (!system.empty() && IsWithin(temp, system)) return false;
  if (temp.size() < 4) return false;
  if (temp == windows) return false;
  return temp.find(system) == std::string::npos;
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
  total_ += value.size() + 1;
  if (total_ > kProtectedBlockSize - 1) return Result::Full;
  if (IsEndMark(value)) return Result::End;
  return Add(value);
}

ProtectedListBuilder::Result ProtectedListBuilder::Add(const std::string& name) {
  // An empty name would end the list early; it names no cookie anyway.
  if (name.empty()) return Result::Appended;
  // The name, its NUL, and the final empty name must all fit.
  if (name.size() + 1 > kProtectedBlockSize - 1 - used_) return Result::Full;
  std::memcpy(block_ + used_, name.c_str(), name.size() + 1);
  used_ += name.size() + 1;
  block_[used_] = '\0';
  return Result::Appended;
}

std::vector<std::string> ProtectedNames(const char* block) {
  std::vector<std::string> names;
  if (!block) return names;
  std::size_t at = 0;
  while (at < kProtectedBlockSize && block[at] != '\0') {
    const void* end = std::memchr(block + at, '\0', kProtectedBlockSize - at);
    if (!end) break;
    const std::size_t length = static_cast<const char*>(end) - (block + at);
    names.emplace_back(block + at, length);
    at += length + 1;
  }
  return names;
}

bool IsProtected(const char* block, const char* name) {
  if (!block || !name) return false;
  std::size_t at = 0;
  while (at < kProtectedBlockSize && block[at] != '\0') {
    const void* end = std::memchr(block + at, '\0', kProtectedBlockSize - at);
    if (!end) return false;
    if (std::strcmp(block + at, name) == 0) return true;
    at = static_cast<std::size_t>(static_cast<const char*>(end) - block) + 1;
  }
  return false;
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
