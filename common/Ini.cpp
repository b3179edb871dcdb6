#include "common/Ini.h"

#include <windows.h>

#include <vector>

namespace ini {

std::string ReadString(const std::string& file, const std::string& section,
                       const std::string& key, const std::string& defaultValue) {
  char buffer[kValueBufferSize];
  const DWORD n = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                             buffer, sizeof buffer, file.c_str());
  return std::string(buffer, n);
}

std::string ReadRawString(const std::string& file, const std::string& section,
                          const std::string& key, const std::string& defaultValue) {
  std::vector<char> buffer(kSectionBufferSize);
  const DWORD n = ::GetPrivateProfileSectionA(section.c_str(), buffer.data(),
                                              static_cast<DWORD>(buffer.size()), file.c_str());
  for (DWORD i = 0; i < n;) {
    const std::string line(&buffer[i]);
    i += static_cast<DWORD>(line.size()) + 1;
    const std::string::size_type equals = line.find('=');
    if (equals == std::string::npos) continue;
    std::string name = line.substr(0, equals);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
    if (lstrcmpiA(name.c_str(), key.c_str()) != 0) continue;
    std::string::size_type start = equals + 1;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
    return line.substr(start, kValueBufferSize - 1);
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
  return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                      file.c_str()) != FALSE;
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
