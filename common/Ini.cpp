#include "common/Ini.h"

#include <windows.h>

#include <vector>

namespace ini {

namespace {

// The platform cuts an answer that does not fit and then returns the buffer's size less
// `cut` (1 for a value, 2 for a section); a longer buffer tells a cut answer from one that
// merely fills the buffer. Files larger than the last size cannot be read by the platform.
constexpr DWORD kLargestBuffer = 1u << 28;

template <typename Read>
std::string ReadWhole(DWORD size, DWORD cut, Read read) {
  std::vector<char> buffer;
  for (;;) {
    buffer.assign(size, '\0');
    const DWORD n = read(buffer.data(), size);
    if (n + cut < size || size >= kLargestBuffer) return std::string(buffer.data(), n < size ? n : size - 1);
    size *= 2;
  }
}

// Text in the system code page as UTF-16, the way the platform's narrow functions take it.
std::wstring Wide(const std::string& text) {
  const int length = static_cast<int>(text.size());
  const int n = length ? MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0) : 0;
  std::wstring wide(static_cast<size_t>(n), L'\0');
  if (n) MultiByteToWideChar(CP_ACP, 0, text.data(), length, &wide[0], n);
  return wide;
}

}  // namespace

std::string ReadString(const std::string& file, const std::string& section,
                       const std::string& key, const std::string& defaultValue) {
  return ReadWhole(kValueBufferSize, 1, [&](char* buffer, DWORD size) {
    return ::GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer, size,
                                      file.c_str());
  });
}

std::string ReadSection(const std::string& file, const std::string& section) {
  return ReadWhole(kSectionBufferSize, 2, [&](char* buffer, DWORD size) {
    return ::GetPrivateProfileSectionA(section.c_str(), buffer, size, file.c_str());
  });
}

std::string ReadRawString(const std::string& file, const std::string& section,
                          const std::string& key, const std::string& defaultValue) {
  const std::string lines = ReadSection(file, section);
  for (std::string::size_type i = 0; i < lines.size();) {
    const std::string line(lines.c_str() + i);
    i += line.size() + 1;
    const std::string::size_type equals = line.find('=');
    if (equals == std::string::npos) continue;
    std::string name = line.substr(0, equals);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
    if (lstrcmpiA(name.c_str(), key.c_str()) != 0) continue;
    std::string::size_type start = equals + 1;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
    return line.substr(start);
  }
  return defaultValue;
}

int ReadInt(const std::string& file, const std::string& section, const std::string& key,
            int defaultValue) {
  return static_cast<int>(
      ::GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultValue, file.c_str()));
}

bool ReadFlag(const std::string& file, const std::string& section, const std::string& key,
              bool defaultValue) {
  return ReadInt(file, section, key, defaultValue ? 1 : 0) != 0;
}

bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                 const std::string& value) {
  // Through the wide function, after the same conversion the narrow one makes: the narrow
  // one of some platforms cuts a value over 32,767 characters.
  return ::WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(value).c_str(),
                                      Wide(file).c_str()) != FALSE;
}

bool WriteFlag(const std::string& file, const std::string& section, const std::string& key,
               bool value) {
  return WriteString(file, section, key, value ? "1" : "0");
}

bool EraseSection(const std::string& file, const std::string& section) {
  return ::WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, file.c_str()) != FALSE;
}

bool SectionExists(const std::string& file, const std::string& section) {
  char buffer[4];
  return ::GetPrivateProfileSectionA(section.c_str(), buffer, sizeof buffer, file.c_str()) > 0;
}

}  // namespace ini
