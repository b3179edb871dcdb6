// Reads values of an open key it does not own.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "startup/windows/registry/RegistryKeyImpl.h"

namespace windows::registry {

// A value as the registry holds it: its type and its bytes.
struct RawValue {
  DWORD type = REG_NONE;
  std::string bytes;
};

// A value's text as a listing shows it: a REG_SZ up to its first zero byte, a
// REG_EXPAND_SZ the same and expanded (`native`: as 64-bit programs expand it), any other
// type its bytes as they are. Throws RegistryExpandException.
std::string listedText(DWORD type, const std::string& bytes, bool native = false);

class RegistryReaderImpl {
 public:
  // Texts are read into a buffer of this many bytes; a longer value cannot be read as text.
  static constexpr DWORD VALUE_BUFFER_SIZE = 2048;

  explicit RegistryReaderImpl(RegistryKeyImpl& key) : _key(key) {}
  virtual ~RegistryReaderImpl() = default;

  // A REG_SZ, REG_EXPAND_SZ (expanded) or REG_MULTI_SZ (first string) value.
  virtual std::string readString(const std::string& valueName);
  // A REG_DWORD or REG_BINARY value's first four bytes.
  virtual int readInt(const std::string& valueName);
  virtual bool valueExists(const std::string& valueName);
  // (name, text) pairs in enumeration order: texts up to their first zero byte
  // (REG_EXPAND_SZ expanded), the bytes as they are for every other type.
  virtual std::vector<std::pair<std::string, std::string>> getValues();
  // The same, of the REG_SZ and REG_EXPAND_SZ values only.
  std::vector<std::pair<std::string, std::string>> getTextValues();
  virtual std::vector<std::string> getSubKeys();

  // The value's type and all its bytes, whatever their size; nothing when it is missing.
  // Used to put a value back exactly as it was.
  std::optional<RawValue> readRaw(const std::string& valueName);

 private:
  // Queries one value into `buffer` (may be null to learn the type and size).
  void queryValue(const std::string& valueName, DWORD* type, BYTE* buffer, DWORD* size);
  std::string entryName(const std::string& valueName) const;
  std::vector<std::pair<std::string, std::string>> enumerateValues(bool textOnly);

  RegistryKeyImpl& _key;
};

}  // namespace windows::registry
