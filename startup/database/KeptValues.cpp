#include "startup/database/KeptValues.h"

namespace products::stelmar::database {

namespace {

const char MAGIC[] = "SKV1";
constexpr std::size_t MAGIC_SIZE = 4;

void putUint32(std::string& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

// Reads from `bytes` at `offset`, never past the end; false when the bytes end first.
class Reader {
 public:
  Reader(const std::string& bytes, std::size_t offset) : _bytes(bytes), _offset(offset) {}
  bool uint32(std::uint32_t& value) {
    if (_bytes.size() - _offset < 4) return false;
    value = 0;
    for (int i = 3; i >= 0; --i)
      value = (value << 8) | static_cast<unsigned char>(_bytes[_offset + i]);
    _offset += 4;
    return true;
  }
  bool text(std::string& value) {
    std::uint32_t size = 0;
    if (!uint32(size) || _bytes.size() - _offset < size) return false;
    value = _bytes.substr(_offset, size);
    _offset += size;
    return true;
  }
  bool atEnd() const { return _offset == _bytes.size(); }

 private:
  const std::string& _bytes;
  std::size_t _offset;
};

}  // namespace

std::string serialiseKeptValues(const std::vector<KeptValue>& values) {
  std::string bytes(MAGIC, MAGIC_SIZE);
  putUint32(bytes, static_cast<std::uint32_t>(values.size()));
  for (const KeptValue& value : values) {
    putUint32(bytes, static_cast<std::uint32_t>(value.startupType));
    putUint32(bytes, value.registryType);
    putUint32(bytes, static_cast<std::uint32_t>(value.name.size()));
    bytes += value.name;
    putUint32(bytes, static_cast<std::uint32_t>(value.bytes.size()));
    bytes += value.bytes;
  }
  return bytes;
}

std::optional<std::vector<KeptValue>> parseKeptValues(const std::string& bytes) {
  if (bytes.compare(0, MAGIC_SIZE, MAGIC, MAGIC_SIZE) != 0) return std::nullopt;
  Reader reader(bytes, MAGIC_SIZE);
  std::uint32_t count = 0;
  if (!reader.uint32(count)) return std::nullopt;
  std::vector<KeptValue> values;
  for (std::uint32_t i = 0; i < count; ++i) {
    KeptValue value;
    std::uint32_t startupType = 0;
    if (!reader.uint32(startupType) || !reader.uint32(value.registryType) ||
        !reader.text(value.name) || !reader.text(value.bytes))
      return std::nullopt;
    value.startupType = static_cast<int>(startupType);
    values.push_back(std::move(value));
  }
  if (!reader.atEnd()) return std::nullopt;
  return values;
}

}  // namespace products::stelmar::database
