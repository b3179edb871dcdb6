#include "startup/platform/errorresources/SystemReport.h"

#include <algorithm>
#include <exception>

#include "startup/platform/errorresources/Assertion.h"
#include "startup/platform/errorresources/Exceptions.h"

namespace errorresources {

std::string windowsVersionName(int platformId, unsigned long majorVersion,
                               unsigned long minorVersion) {
  switch (platformId) {
    case PLATFORM_WIN32S:
      return "Windows 3.1";
    case PLATFORM_WIN32_WINDOWS:
      return minorVersion != 0 ? "Windows 98" : "Windows 95";
    case PLATFORM_WIN32_NT:
      return "Windows NT " + std::to_string(majorVersion) + "." + std::to_string(minorVersion);
    default:
      STELMAR_ASSERT(false);
      return std::string();
  }
}

std::string buildSystemReport(const std::string& productName, const std::string& version,
                              const std::string& operatingSystem,
                              const SystemReportSource& source) {
  std::string report = "### General Information ###\nProduct name: " + productName +
                       "\nVersion number: " + version + "\nOperating System: " +
                       operatingSystem + "\n\n### Startup Entries ###\n";
  std::vector<int> types = source.types();
  std::sort(types.begin(), types.end());
  for (const int type : types) {
    report += "[" + source.typeName(type) + "]\n";
    std::string failure;
    bool failed = false;
    try {
      for (const auto& entry : source.entries(type))
        report += entry.first + " " + entry.second + "\n";
    } catch (const exceptions::Exception& e) {
      failed = true;
      failure = e.getMessage();
    } catch (const std::exception& e) {
      failed = true;
      failure = e.what();
    }
    if (failed) {
      report += "An exception occured when getting entries.\n" + failure;
      if (failure.empty() || failure.back() != '\n') report += "\n";
    }
    report += "\n";
  }
  return report;
}

}  // namespace errorresources
