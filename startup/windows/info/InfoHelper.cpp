#include "startup/windows/info/InfoHelper.h"

#include <windows.h>

#include "startup/platform/errorresources/Exceptions.h"
#include "startup/platform/errorresources/SystemErrors.h"
#include "startup/platform/errorresources/SystemInformation.h"

namespace windows::info {

bool InfoHelper::isWindowsNT() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!::GetVersionExA(&info)) {
    throw CouldNotGetWindowsVersion("Couldn't get the windows version.\n" +
                                    SystemErrors::map(static_cast<int>(::GetLastError())));
  }
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

std::string InfoHelper::getWindowsVersionName() {
  // The name of the system report, by the same rule.
  return errorresources::currentWindowsVersionName();
}

bool InfoHelper::isWindows64() {
  using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
  const HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
  if (!kernel) return false;
  const auto isWow64Process = reinterpret_cast<IsWow64ProcessFunction>(
      reinterpret_cast<void*>(::GetProcAddress(kernel, "IsWow64Process")));
  BOOL wow64 = FALSE;
  return isWow64Process && isWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace windows::info
