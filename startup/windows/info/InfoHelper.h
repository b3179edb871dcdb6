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
};

}  // namespace windows::info
