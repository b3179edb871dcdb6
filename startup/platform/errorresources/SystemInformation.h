// The running system's side of the system report.
#pragma once

#include <string>

#include "startup/platform/errorresources/SystemReport.h"

namespace errorresources {

// The operating system's name by the rule of windowsVersionName. Throws
// windows::info::CouldNotGetWindowsVersion when the version cannot be read.
std::string currentWindowsVersionName();

// Whether the running system is of the NT family. Throws windows::info::CouldNotGetWindowsVersion
// when the version cannot be read.
bool currentWindowsIsNT();

// The system report of the running system.
std::string systemReport(const std::string& productName, const std::string& version,
                         const SystemReportSource& source);

}  // namespace errorresources
