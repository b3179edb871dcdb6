// Writes and deletes values of an open key it does not own.
#pragma once

#include <windows.h>

#include <string>

#include "startup/windows/registry/RegistryKeyImpl.h"
#include "startup/windows/registry/RegistryReaderImpl.h"

namespace windows::registry {

class RegistryWriterImpl {
 public:
  explicit RegistryWriterImpl(RegistryKeyImpl& key) : _key(key) {}
  virtual ~RegistryWriterImpl() = default;

  // A REG_SZ value, stored with its terminating zero byte.
  virtual void writeString(const std::string& valueName, const std::string& text);
  // Four bytes as REG_BINARY, REG_DWORD or REG_DWORD_BIG_ENDIAN.
  virtual void writeInt(const std::string& valueName, int value, DWORD type);
  virtual void deleteValue(const std::string& valueName);

  // Puts back a value read with RegistryReaderImpl::readRaw.
  void writeRaw(const std::string& valueName, const RawValue& value);

 private:
  void setValue(const std::string& valueName, DWORD type, const BYTE* data, DWORD size);

  RegistryKeyImpl& _key;
};

}  // namespace windows::registry
