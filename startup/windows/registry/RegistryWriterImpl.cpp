#include "startup/windows/registry/RegistryWriterImpl.h"

#include <cstdint>

#include "startup/io/file/WriteSteps.h"
#include "startup/platform/errorresources/Assertion.h"
#include "startup/platform/errorresources/Exceptions.h"
#include "startup/platform/errorresources/SystemErrors.h"

namespace windows::registry {

namespace {

const char* const SET_DENIED = "Error when setting a registry value, access is denied. Value: ";
const char* const SET_FAILED = "Error when setting a registry value. Value: ";
const char* const DELETE_DENIED = "Error deleting the value, access is denied. Entry: ";
const char* const DELETE_NOT_FOUND =
    "Error when deleteing the registry value. The value did not exist. Entry: ";
const char* const DELETE_FAILED = "Error when deleteing a value. Entry: ";

std::string valueMessage(const char* sentence, const RegistryKeyImpl& key,
                         const std::string& valueName, LONG code) {
  return sentence + key.getName() + "\\" + valueName + "\n\n" +
         SystemErrors::map(static_cast<int>(code));
}

}  // namespace

void RegistryWriterImpl::setValue(const std::string& valueName, DWORD type, const BYTE* data,
                                  DWORD size) {
  io::file::writeStep("set a registry value");
  const LONG code = ::RegSetValueExA(_key.getHandle(), valueName.c_str(), 0, type, data, size);
  if (code == ERROR_ACCESS_DENIED) {
    throw RegistryAccessDeniedException(valueMessage(SET_DENIED, _key, valueName, code));
  }
  if (code != ERROR_SUCCESS) {
    throw RegistryException(valueMessage(SET_FAILED, _key, valueName, code));
  }
}

void RegistryWriterImpl::writeString(const std::string& valueName, const std::string& text) {
  // With the terminating zero byte: whoever reads the value (the shell running the Run
  // keys included) may rely on it being there.
  setValue(valueName, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
           static_cast<DWORD>(text.size() + 1));
}

void RegistryWriterImpl::writeInt(const std::string& valueName, int value, DWORD type) {
  STELMAR_ASSERT(type == REG_DWORD || type == REG_BINARY || type == REG_DWORD_LITTLE_ENDIAN ||
                 type == REG_DWORD_BIG_ENDIAN);
  const std::int32_t bits = value;
  setValue(valueName, type, reinterpret_cast<const BYTE*>(&bits), sizeof bits);
}

void RegistryWriterImpl::writeRaw(const std::string& valueName, const RawValue& value) {
  setValue(valueName, value.type, reinterpret_cast<const BYTE*>(value.bytes.data()),
           static_cast<DWORD>(value.bytes.size()));
}

void RegistryWriterImpl::deleteValue(const std::string& valueName) {
  io::file::writeStep("delete a registry value");
  const LONG code = ::RegDeleteValueA(_key.getHandle(), valueName.c_str());
  if (code == ERROR_SUCCESS) return;
  if (code == ERROR_ACCESS_DENIED) {
    throw RegistryAccessDeniedException(valueMessage(DELETE_DENIED, _key, valueName, code));
  }
  if (code == ERROR_FILE_NOT_FOUND) {
    throw RegistryValueNotFoundException(valueMessage(DELETE_NOT_FOUND, _key, valueName, code));
  }
  throw RegistryException(valueMessage(DELETE_FAILED, _key, valueName, code));
}

}  // namespace windows::registry
