#include "startup/windows/registry/RegistryKeyImpl.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "startup/platform/errorresources/Assertion.h"
#include "startup/platform/errorresources/Exceptions.h"
#include "startup/platform/errorresources/SystemErrors.h"
#include "startup/util/NativePaths.h"
#include "startup/windows/file/NativeView.h"

namespace windows::registry {

namespace {

const char* const OPEN_DENIED = "Error when opening a registry key, access is denied. Key: ";
const char* const OPEN_NOT_FOUND =
    "Error when opening a registry key, the key doesn't exist. Key: ";
const char* const OPEN_FAILED = "Error when opening a registry key. Key: ";
const char* const CREATE_DENIED = "Error when creating a registry key, access is denied. Key: ";
const char* const CREATE_FAILED = "Error when creating a registry key. Key: ";

const char* const EXPAND_SIZE_FAILED =
    "Error determining size of environment variable using 'ExpandEnvironmentStrings'.\n"
    "Unexpanded string size: ";
const char* const EXPAND_FAILED =
    "Error when expanding environment variable using 'ExpandEnvironmentStrings'.\n";
const char* const EXPAND_SIZE_MISMATCH = "Problems expanding environmental varible.\n";

struct Hive {
  HKEY handle;
  const char* name;
};
const Hive HIVES[] = {
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},
    {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},
    {HKEY_USERS, "HKEY_USERS"},
    {HKEY_PERFORMANCE_DATA, "HKEY_PERFORMANCE_DATA"},
    {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG"},
    {HKEY_DYN_DATA, "HKEY_DYN_DATA"},
};

std::string keyMessage(const char* sentence, const std::string& name, LONG code) {
  return sentence + name + "\n\n" + SystemErrors::map(static_cast<int>(code));
}

}  // namespace

std::string hiveToString(HKEY hive) {
  for (const Hive& h : HIVES) {
    if (h.handle == hive) return h.name;
  }
  throw RegistryException("Unable to convert the key '" +
                          std::to_string(reinterpret_cast<std::uintptr_t>(hive)) +
                          "' to a registry key string.");
}

std::string expand(const std::string& given, bool native) {
  if (given.size() <= 1) return given;
  const std::string text =
      native ? util::substituteVariables(given, windows::file::nativeVariables()) : given;
  const std::string length = std::to_string(text.size());
  const DWORD size = ::ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
  if (size == 0) {
    throw RegistryExpandException(EXPAND_SIZE_FAILED + length + "\n" +
                                  "Unexpanded variable: " + text);
  }
  const DWORD bufferSize = size + 10;
  std::vector<char> buffer(bufferSize, '\0');
  const DWORD result = ::ExpandEnvironmentStringsA(text.c_str(), buffer.data(), bufferSize);
  if (result == 0) {
    const DWORD code = ::GetLastError();
    throw RegistryExpandException(std::string(EXPAND_FAILED) + "Unexpanded string size: " + length +
                                  "\n" + "Unexpanded string: " + text + "\n" +
                                  "Expanded buffer size: " + std::to_string(bufferSize) + "\n" +
                                  "System error code: " + std::to_string(code) + "\n");
  }
  const std::string expanded(buffer.begin(), std::find(buffer.begin(), buffer.end(), '\0'));
  if (result >= size + 9) {
    throw RegistryExpandException(
        std::string(EXPAND_SIZE_MISMATCH) +
        "Suggested expanded size from 'ExpandEnvironmentStrings' + 10: " +
        std::to_string(bufferSize) + "\n" +
        "Actual expanded size from 'ExpandEnvironmentStrings': " + std::to_string(result) + "\n" +
        "Unexpanded string size: " + length + "\n" + "Unexpanded string: " + text + "\n" +
        "Expanded string size: " + std::to_string(expanded.size()) + "\n" +
        "Expanded string: " + expanded + "\n");
  }
  return expanded;
}

const char* const RegistryKeyImpl::VIEW_32_SUFFIX = " (32-bit view)";

RegistryKeyImpl::RegistryKeyImpl(HKEY hive, const std::string& keyPath, REGSAM securityAccess,
                                 int mode, REGSAM view)
    : _hive(hive), _keyPath(keyPath), _native((view & KEY_WOW64_64KEY) != 0) {
  _name = hiveToString(hive);
  if (!_keyPath.empty()) _name += "\\" + _keyPath;
  if (view & KEY_WOW64_32KEY) _name += VIEW_32_SUFFIX;
  securityAccess |= view & (KEY_WOW64_32KEY | KEY_WOW64_64KEY);
  switch (mode) {
    case MODE_OPEN:
      open(securityAccess);
      break;
    case MODE_CREATE:
      create(securityAccess);
      break;
    default:
      STELMAR_ASSERT(false);
      break;
  }
}

RegistryKeyImpl::~RegistryKeyImpl() {
  if (_key != nullptr && ::RegCloseKey(_key) != ERROR_SUCCESS) STELMAR_ASSERT(false);
}

void RegistryKeyImpl::open(REGSAM securityAccess) {
  STELMAR_ASSERT(_key == 0);
  HKEY key = nullptr;
  const LONG code = ::RegOpenKeyExA(_hive, _keyPath.c_str(), 0, securityAccess, &key);
  if (code == ERROR_ACCESS_DENIED) {
    throw RegistryAccessDeniedException(keyMessage(OPEN_DENIED, _name, code));
  }
  if (code == ERROR_FILE_NOT_FOUND) {
    throw RegistryKeyNotFoundException(keyMessage(OPEN_NOT_FOUND, _name, code));
  }
  if (code != ERROR_SUCCESS) throw RegistryException(keyMessage(OPEN_FAILED, _name, code));
  _key = key;
}

void RegistryKeyImpl::create(REGSAM securityAccess) {
  STELMAR_ASSERT(_key == 0);
  STELMAR_ASSERT(securityAccess & KEY_CREATE_SUB_KEY);
  HKEY key = nullptr;
  const LONG code = ::RegCreateKeyExA(_hive, _keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      securityAccess, nullptr, &key, nullptr);
  if (code == ERROR_ACCESS_DENIED) {
    throw RegistryAccessDeniedException(keyMessage(CREATE_DENIED, _name, code));
  }
  if (code != ERROR_SUCCESS) throw RegistryException(keyMessage(CREATE_FAILED, _name, code));
  _key = key;
}

HKEY RegistryKeyImpl::getHandle() const {
  STELMAR_ASSERT(_key != 0);
  return _key;
}

std::string RegistryKeyImpl::getName() const { return _name; }

}  // namespace windows::registry
