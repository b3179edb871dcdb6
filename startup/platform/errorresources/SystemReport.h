// The plain-text system report ("### General Information ###") that the user can copy or
// send with a problem: product, version, operating system and every startup entry.
// Standard library only; SystemInformation.h reads the system's version for it.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace errorresources {

// What the report lists: the registered startup types and their entries. The startup
// interface provides it; the report needs nothing else of it.
class SystemReportSource {
 public:
  virtual ~SystemReportSource() = default;
  // The registered startup types (the report lists them in ascending order).
  virtual std::vector<int> types() const = 0;
  // The name text of a type, such as "LM_RUN_ALWAYS".
  virtual std::string typeName(int type) const = 0;
  // (name, data) of every entry of the type; throws exceptions::Exception when the type
  // cannot be listed.
  virtual std::vector<std::pair<std::string, std::string>> entries(int type) const = 0;
};

// Platform identifiers of the system's version record.
const int PLATFORM_WIN32S = 0;
const int PLATFORM_WIN32_WINDOWS = 1;
const int PLATFORM_WIN32_NT = 2;

// "Windows 3.1", "Windows 95", "Windows 98" or "Windows NT <major>.<minor>"; any other
// platform raises an assertion and gives the empty text.
std::string windowsVersionName(int platformId, unsigned long majorVersion,
                               unsigned long minorVersion);

std::string buildSystemReport(const std::string& productName, const std::string& version,
                              const std::string& operatingSystem, const SystemReportSource& source);

}  // namespace errorresources
