#include "startup/windows/file/NativeView.h"

#include <windows.h>

#include "common/Unique.h"
#include "startup/windows/file/WindowsFileHelper.h"

namespace windows::file {

namespace {

using DisableFunction = BOOL(WINAPI*)(PVOID*);
using RevertFunction = BOOL(WINAPI*)(PVOID);

// Looked up at run time: 32-bit Windows before XP SP2 has neither.
template <typename Function>
Function kernelFunction(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), name)));
}

std::string environmentValue(const char* name) {
  char buffer[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableA(name, buffer, sizeof buffer);
  return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

// A text value of the native view's "CurrentVersion" key, which says where 64-bit Windows
// keeps its program files.
std::string nativeSetting(const char* name) {
  win::UniqueKey key;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0,
                      KEY_QUERY_VALUE | KEY_WOW64_64KEY, key.put()) != ERROR_SUCCESS)
    return std::string();
  char buffer[MAX_PATH] = {};
  DWORD type = REG_NONE, size = sizeof buffer - 1;
  if (::RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                         &size) != ERROR_SUCCESS ||
      type != REG_SZ)
    return std::string();
  return buffer;
}

util::Variables readNativeVariables() {
  util::Variables variables;
  // Each with the value 64-bit Windows gives it; the environment's own copy of it (which
  // WOW64 puts aside under another name) where the registry has none.
  const struct {
    const char* name;
    const char* setting;
    const char* saved;
  } known[] = {{"ProgramFiles", "ProgramFilesDir", "ProgramW6432"},
               {"CommonProgramFiles", "CommonFilesDir", "CommonProgramW6432"},
               {"PROCESSOR_ARCHITECTURE", nullptr, "PROCESSOR_ARCHITEW6432"}};
  for (const auto& variable : known) {
    std::string value = variable.setting ? nativeSetting(variable.setting) : std::string();
    if (value.empty()) value = environmentValue(variable.saved);
    if (!value.empty()) variables.emplace_back(variable.name, value);
  }
  return variables;
}

}  // namespace

RedirectionOff::RedirectionOff() {
  static const auto disable = kernelFunction<DisableFunction>("Wow64DisableWow64FsRedirection");
  _off = disable && disable(&_previous);
}

RedirectionOff::~RedirectionOff() {
  static const auto revert = kernelFunction<RevertFunction>("Wow64RevertWow64FsRedirection");
  if (_off && revert) revert(_previous);
}

const util::Variables& nativeVariables() {
  static const util::Variables variables = readNativeVariables();
  return variables;
}

std::optional<std::string> findNativeFile(const std::string& path) {
  std::optional<std::string> found;
  {
    const RedirectionOff off;
    found = WindowsFileHelper::findFile(path);
  }
  if (!found) return found;
  char windows[MAX_PATH] = {};
  const UINT length = ::GetSystemWindowsDirectoryA(windows, sizeof windows);
  if (length == 0 || length >= sizeof windows) return found;
  return util::sysnativePath(*found, windows);
}

}  // namespace windows::file
