#include "startup/windows/registry/RegistryReaderImpl.h"

#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "startup/platform/errorresources/Assertion.h"
#include "startup/windows/CodePage.h"
#include "startup/platform/errorresources/Exceptions.h"
#include "startup/platform/errorresources/SystemErrors.h"

namespace windows::registry {

namespace {

const char* const READ_DENIED = "Error when reading a registry key, access is denied. Entry: ";
const char* const READ_NOT_FOUND =
    "Error when reading a registry key, the value doesn't exist. Entry: ";
const char* const READ_FAILED = "Error when reading a registry key. Entry: ";
const char* const UNEXPECTED_TEXT_TYPE =
    "Unexpected registry type, where REG_SZ, REG_EXPAND_SZ or REG_MULTI_SZ was expected.\n"
    "The actual type was ";
const char* const UNEXPECTED_NUMBER_TYPE =
    "Unexpected registry type, where REG_DWORD, REG_BINARY or REG_DWORD_LITTLE_ENDIAN  was "
    "expected.\nThe actual type was ";
const char* const PROBLEM_WITH_KEY = ".\nProblem occured with key:";
const char* const INFO_FAILED =
    "Error when getting the max data length. Using 'RegQueryInfoKey'. Entry: ";
const char* const ENUM_VALUE_DENIED =
    "Error when reading a registry key while enumerating a value, access is denied. Using "
    "'RegEnumValue'. Entry: ";
const char* const ENUM_VALUE_NOT_FOUND =
    "Error when reading a registry key, the value doesn't exist. Using 'RegEnumValue'. Entry: ";
const char* const ENUM_VALUE_FAILED =
    "Error when reading a registry key while enumerating a value. Using 'RegEnumValue'. Entry: ";
const char* const ENUM_KEY_DENIED =
    "Error when enumerating a registry key using 'RegEnumKey', access is denied. Entry: ";
const char* const ENUM_KEY_NOT_FOUND =
    "Error when enumerating a registry key using 'RegEnumKey', the value doesn't exist. Entry: ";
const char* const ENUM_KEY_FAILED =
    "Error when enumerating a registry key using 'RegEnumKey'. Entry: ";

constexpr DWORD DEFAULT_NAME_LENGTH = 260;
constexpr DWORD DEFAULT_DATA_LENGTH = 1024;
constexpr DWORD SUBKEY_BUFFER_LENGTH = 261;
constexpr int MAX_READ_ATTEMPTS = 8;

std::string withSystemText(const std::string& text, LONG code) {
  return text + "\n\n" + SystemErrors::map(static_cast<int>(code));
}

// The returned data up to its first zero byte, never longer than what was returned: data
// stored without a terminating zero is read whole.
std::string textOf(const BYTE* data, DWORD size) {
  const char* const begin = reinterpret_cast<const char*>(data);
  const void* const zero = std::memchr(begin, 0, size);
  return std::string(begin, zero ? static_cast<const char*>(zero) : begin + size);
}

[[noreturn]] void throwEnumValueError(LONG code, const std::string& name) {
  if (code == ERROR_ACCESS_DENIED) {
    throw RegistryAccessDeniedException(withSystemText(ENUM_VALUE_DENIED + name, code));
  }
  if (code == ERROR_FILE_NOT_FOUND) {
    throw RegistryValueNotFoundException(withSystemText(ENUM_VALUE_NOT_FOUND + name, code));
  }
  throw RegistryException(withSystemText(ENUM_VALUE_FAILED + name, code));
}

}  // namespace

std::string listedText(DWORD type, const std::string& bytes, bool native) {
  if (type != REG_SZ && type != REG_EXPAND_SZ) return bytes;
  const std::string text =
      textOf(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
  return type == REG_EXPAND_SZ ? expand(text, native) : text;
}

std::string RegistryReaderImpl::entryName(const std::string& valueName) const {
  return _key.getName() + "\\" + valueName;
}

void RegistryReaderImpl::queryValue(const std::string& valueName, DWORD* type, BYTE* buffer,
                                    DWORD* size) {
  const LONG code =
      ::RegQueryValueExA(_key.getHandle(), valueName.c_str(), nullptr, type, buffer, size);
  if (code == ERROR_SUCCESS) return;
  if (code == ERROR_ACCESS_DENIED) {
    throw RegistryAccessDeniedException(withSystemText(READ_DENIED + entryName(valueName), code));
  }
  if (code == ERROR_FILE_NOT_FOUND) {
    throw RegistryValueNotFoundException(
        withSystemText(READ_NOT_FOUND + entryName(valueName), code));
  }
  throw RegistryException(withSystemText(READ_FAILED + entryName(valueName), code));
}

std::string RegistryReaderImpl::readString(const std::string& valueName) {
  DWORD type = REG_NONE;
  queryValue(valueName, &type, nullptr, nullptr);
  if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ) {
    throw RegistryUnexpectedTypeException(UNEXPECTED_TEXT_TYPE + std::to_string(type) +
                                          PROBLEM_WITH_KEY + entryName(valueName) + "\n");
  }
  BYTE buffer[VALUE_BUFFER_SIZE] = {};
  DWORD size = sizeof buffer;
  queryValue(valueName, &type, buffer, &size);
  const std::string text = textOf(buffer, size);
  return type == REG_EXPAND_SZ ? expand(text, _key.isNativeView()) : text;
}

int RegistryReaderImpl::readInt(const std::string& valueName) {
  DWORD type = REG_NONE;
  queryValue(valueName, &type, nullptr, nullptr);
  if (type != REG_DWORD && type != REG_BINARY) {
    throw RegistryUnexpectedTypeException(UNEXPECTED_NUMBER_TYPE + std::to_string(type) +
                                          PROBLEM_WITH_KEY + entryName(valueName) + "\n");
  }
  // A REG_BINARY value of another length than four bytes does not fit and fails the read.
  std::int32_t value = 0;
  DWORD size = sizeof value;
  queryValue(valueName, &type, reinterpret_cast<BYTE*>(&value), &size);
  return value;
}

bool RegistryReaderImpl::valueExists(const std::string& valueName) {
  // Only the type is asked for: a value longer than any buffer exists all the same.
  DWORD type = REG_NONE;
  try {
    queryValue(valueName, &type, nullptr, nullptr);
  } catch (const RegistryValueNotFoundException&) {
    return false;
  }
  return true;
}

std::vector<std::pair<std::string, std::string>> RegistryReaderImpl::getValues() {
  return enumerateValues(false);
}

std::vector<std::pair<std::string, std::string>> RegistryReaderImpl::getTextValues() {
  return enumerateValues(true);
}

std::vector<std::pair<std::string, std::string>> RegistryReaderImpl::enumerateValues(
    bool textOnly) {
  std::vector<std::pair<std::string, std::string>> values;
  DWORD valueCount = 0;
  DWORD maxValueLength = 0;
  DWORD maxDataLength = 0;
  const LONG info =
      ::RegQueryInfoKeyA(_key.getHandle(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         &valueCount, &maxValueLength, &maxDataLength, nullptr, nullptr);
  if (info != ERROR_SUCCESS) {
    throw RegistryException(withSystemText(INFO_FAILED + _key.getName(), info));
  }
  if (valueCount == 0) return values;

  if (maxValueLength == 0) maxValueLength = DEFAULT_NAME_LENGTH;
  if (maxDataLength == 0) maxDataLength = DEFAULT_DATA_LENGTH;
  STELMAR_ASSERT(maxValueLength);
  STELMAR_ASSERT(maxDataLength);
  // Twice the longest name and data, as the system's lengths may count characters.
  std::vector<char> name(static_cast<std::size_t>(maxValueLength) * 2);
  std::vector<BYTE> data(static_cast<std::size_t>(maxDataLength) * 2);

  for (DWORD index = 0;; ++index) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD dataLength = static_cast<DWORD>(data.size());
    DWORD type = REG_NONE;
    const LONG code = ::RegEnumValueA(_key.getHandle(), index, name.data(), &nameLength, nullptr,
                                      &type, data.data(), &dataLength);
    if (code == ERROR_NO_MORE_ITEMS) break;
    if (code != ERROR_SUCCESS) throwEnumValueError(code, _key.getName());
    if (textOnly && type != REG_SZ && type != REG_EXPAND_SZ) continue;
    values.emplace_back(
        std::string(name.data(), nameLength),
        listedText(type, std::string(reinterpret_cast<const char*>(data.data()), dataLength),
                   _key.isNativeView()));
  }
  return values;
}

namespace {

std::wstring expandWide(const std::wstring& text) {
  const DWORD size = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  if (size == 0) return text;
  std::wstring result(size, L'\0');
  const DWORD done = ::ExpandEnvironmentStringsW(text.c_str(), result.data(), size);
  if (done == 0 || done > size) return text;
  result.resize(done - 1);
  return result;
}

}  // namespace

std::vector<ListedValue> RegistryReaderImpl::getListedValues() {
  std::vector<ListedValue> values;
  DWORD valueCount = 0;
  DWORD maxValueLength = 0;
  DWORD maxDataLength = 0;
  const LONG info =
      ::RegQueryInfoKeyW(_key.getHandle(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         &valueCount, &maxValueLength, &maxDataLength, nullptr, nullptr);
  if (info != ERROR_SUCCESS) {
    throw RegistryException(withSystemText(INFO_FAILED + _key.getName(), info));
  }
  if (valueCount == 0) return values;
  std::vector<wchar_t> name(static_cast<std::size_t>(maxValueLength) * 2 + DEFAULT_NAME_LENGTH);
  std::vector<BYTE> data(static_cast<std::size_t>(maxDataLength) * 2 + DEFAULT_DATA_LENGTH);
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD dataLength = static_cast<DWORD>(data.size());
    DWORD type = REG_NONE;
    const LONG code = ::RegEnumValueW(_key.getHandle(), index, name.data(), &nameLength, nullptr,
                                      &type, data.data(), &dataLength);
    if (code == ERROR_NO_MORE_ITEMS) break;
    if (code != ERROR_SUCCESS) throwEnumValueError(code, _key.getName());
    if (type != REG_SZ && type != REG_EXPAND_SZ) continue;
    // Up to the first zero character, never longer than the data returned.
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), dataLength / sizeof(wchar_t));
    text.resize(std::min(text.size(), text.find(L'\0')));
    ListedValue value;
    value.name = windows::toCodePage(std::wstring(name.data(), nameLength), value.exact);
    if (type == REG_EXPAND_SZ) {
      bool textExact = true;
      const std::string narrowText = windows::toCodePage(text, textExact);
      value.text =
          textExact ? expand(narrowText, _key.isNativeView()) : windows::toCodePage(expandWide(text), textExact);
      value.exact = value.exact && textExact;
    } else {
      value.text = windows::toCodePage(text, value.exact);
    }
    values.push_back(std::move(value));
  }
  return values;
}

std::vector<std::string> RegistryReaderImpl::getSubKeys() {
  std::vector<std::string> subKeys;
  for (DWORD index = 0;; ++index) {
    char name[SUBKEY_BUFFER_LENGTH] = {};
    const LONG code = ::RegEnumKeyA(_key.getHandle(), index, name, sizeof name);
    if (code == ERROR_NO_MORE_ITEMS) break;
    if (code == ERROR_ACCESS_DENIED) {
      throw RegistryAccessDeniedException(withSystemText(ENUM_KEY_DENIED + _key.getName(), code));
    }
    if (code == ERROR_FILE_NOT_FOUND) {
      throw RegistryValueNotFoundException(
          withSystemText(ENUM_KEY_NOT_FOUND + _key.getName(), code));
    }
    if (code != ERROR_SUCCESS) {
      throw RegistryException(withSystemText(ENUM_KEY_FAILED + _key.getName(), code));
    }
    name[SUBKEY_BUFFER_LENGTH - 1] = '\0';
    subKeys.emplace_back(name);
  }
  return subKeys;
}

std::optional<RawValue> RegistryReaderImpl::readRaw(const std::string& valueName) {
  RawValue value;
  DWORD size = 0;
  try {
    queryValue(valueName, &value.type, nullptr, &size);
    // The value may change between the calls: ask again with the size it has then.
    for (int attempt = 1;; ++attempt) {
      value.bytes.assign(size, '\0');
      DWORD got = size;
      const LONG code =
          ::RegQueryValueExA(_key.getHandle(), valueName.c_str(), nullptr, &value.type,
                             reinterpret_cast<BYTE*>(value.bytes.data()), &got);
      if (code == ERROR_SUCCESS) {
        size = got;
        break;
      }
      if (attempt == MAX_READ_ATTEMPTS) {
        throw RegistryException(withSystemText(READ_FAILED + entryName(valueName), code));
      }
      // Throws the failure's own exception, or learns the new size.
      queryValue(valueName, &value.type, nullptr, &size);
    }
  } catch (const RegistryValueNotFoundException&) {
    return std::nullopt;
  }
  value.bytes.resize(size);
  return value;
}

}  // namespace windows::registry
