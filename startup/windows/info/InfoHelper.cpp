#include "startup/windows/info/InfoHelper.h"

#include <windows.h>

#include "startup/platform/errorresources/SystemInformation.h"

namespace windows::info {

// The system report reads the same version record by the same rules.
bool InfoHelper::isWindowsNT() { return errorresources::currentWindowsIsNT(); }

std::string InfoHelper::getWindowsVersionName() {
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
