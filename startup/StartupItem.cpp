#include "startup/StartupItem.h"

#include <cstdint>
#include <cstring>

#include "startup/StartupConstants.h"
#include "startup/platform/errorresources/Assertion.h"

namespace products::stelmar {

namespace {

// Little-endian on every platform, whatever the machine's byte order.
void putInt32(std::string& out, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((bits >> shift) & 0xFF);
}

std::int32_t getInt32(const char* bytes) {
  std::uint32_t bits = 0;
  for (int i = 3; i >= 0; --i) bits = (bits << 8) | static_cast<unsigned char>(bytes[i]);
  return static_cast<std::int32_t>(bits);
}

void checkType(int type) {
  if (!StartupConstants::isValidType(type)) {
    errorresources::assertion("_type < StartupConstants::MAX_TYPES", __FILE__, __LINE__);
  }
}

std::string foldAscii(const std::string& name) {
  std::string folded = name;
  for (char& c : folded) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return folded;
}

StartupItem::NameFolder nameFolder = foldAscii;

}  // namespace

void StartupItem::setNameFolder(NameFolder folder) { nameFolder = folder ? folder : foldAscii; }

std::string StartupItem::foldName(const std::string& name) { return nameFolder(name); }

StartupItem::StartupItem(int type, int state, const std::string& name, const std::string& data)
    : _initialState(state), _type(type), _state(state), _name(name), _data(data) {
  checkType(_type);
  STELMAR_ASSERT(_state == StartupConstants::DISABLED || _state == StartupConstants::ENABLED);
}

std::optional<StartupItem> StartupItem::fromRawData(const char* rawdata, std::size_t size) {
  STELMAR_ASSERT(rawdata);
  if (rawdata == nullptr || size < RAW_OVERHEAD) return std::nullopt;
  const char* const end = rawdata + size;
  const char* const name = rawdata + 8;
  const char* const nameEnd = static_cast<const char*>(std::memchr(name, 0, end - name));
  if (nameEnd == nullptr || nameEnd + 1 >= end) return std::nullopt;
  const char* const data = nameEnd + 1;
  const char* const dataEnd = static_cast<const char*>(std::memchr(data, 0, end - data));
  if (dataEnd == nullptr) return std::nullopt;

  // The file's loader checks the type and the state and reports a damaged file once, not
  // once per record: the record is made without the constructor's checks. Whatever state
  // it claims, a record of the store is a disabled entry.
  StartupItem item(StartupConstants::LM_RUN_ALWAYS, StartupConstants::DISABLED,
                   std::string(name, nameEnd), std::string(data, dataEnd));
  item._type = getInt32(rawdata);
  return item;
}

int StartupItem::rawState(const char* rawdata, std::size_t size) {
  return rawdata && size >= 8 ? getInt32(rawdata + 4) : StartupConstants::DISABLED;
}

void StartupItem::setState(int state) {
  _state = state;
  _changed = _initialState != state;
  if (state == StartupConstants::ENABLED) _switchedOffByWindows = false;
}

std::string StartupItem::toRawData() const {
  STELMAR_ASSERT(_state == StartupConstants::DISABLED);
  const std::size_t size = getRawSize();
  std::string mem;
  mem.reserve(size);
  putInt32(mem, _type);
  putInt32(mem, _state);
  mem.append(_name).append(1, '\0');
  mem.append(_data).append(1, '\0');
  if (mem.size() != size) errorresources::assertion("mem - start == size", __FILE__, __LINE__);
  return mem;
}

std::string StartupItem::toString() const {
  return "Type: " + std::to_string(_type) + "\nState: " + std::to_string(_state) +
         "\nValue: " + _name + "\nData: " + _data;
}

}  // namespace products::stelmar
