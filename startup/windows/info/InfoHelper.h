// What the startup manager needs to know about the running Windows.
#pragma once

#include <string>

namespace windows::info {

class InfoHelper {
 public:
  // Whether the system is of the NT family (the RunServices keys exist only off it).
  // Throws CouldNotGetWindowsVersion.
  static bool isWindowsNT();
  // "Windows 95", "Windows 98", "Windows 3.1" or "Windows NT " + major.minor.
  // Throws CouldNotGetWindowsVersion.
  static std::string getWindowsVersionName();
  // Whether this 32-bit program runs on 64-bit Windows (IsWow64Process, looked up at run time:
  // systems before it have no such call and are 32-bit). Never throws.
  static bool isWindows64();
};

}  // namespace windows::info
