#include "startup/windows/info/InfoHelper.h"

#include "startup/platform/errorresources/SystemInformation.h"

namespace windows::info {

// The system report reads the same version record by the same rules.
bool InfoHelper::isWindowsNT() { return errorresources::currentWindowsIsNT(); }

std::string InfoHelper::getWindowsVersionName() {
  return errorresources::currentWindowsVersionName();
}

}  // namespace windows::info
