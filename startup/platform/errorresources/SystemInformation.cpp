#include "startup/platform/errorresources/SystemInformation.h"

#include <windows.h>

#include "startup/platform/errorresources/Exceptions.h"
#include "startup/platform/errorresources/SystemErrors.h"

namespace errorresources {

namespace {

OSVERSIONINFOA currentVersion() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!::GetVersionExA(&info))
    throw windows::info::CouldNotGetWindowsVersion(
        "Couldn't get the windows version.\n" +
        SystemErrors::map(static_cast<int>(::GetLastError())));
  return info;
}

}  // namespace

bool currentWindowsIsNT() { return currentVersion().dwPlatformId == VER_PLATFORM_WIN32_NT; }

std::string currentWindowsVersionName() {
  const OSVERSIONINFOA info = currentVersion();
  return windowsVersionName(static_cast<int>(info.dwPlatformId), info.dwMajorVersion,
                            info.dwMinorVersion);
}

std::string systemReport(const std::string& productName, const std::string& version,
                         const SystemReportSource& source) {
  return buildSystemReport(productName, version, currentWindowsVersionName(), source);
}

}  // namespace errorresources
