#include "startup/database/RecycleFile.h"

#include <algorithm>

namespace products::stelmar::database {

namespace {

const char MAGIC[] = "SRB1";
constexpr std::size_t MAGIC_SIZE = 4;
constexpr std::uint64_t STEPS_PER_DAY = 10000000ull * 60 * 60 * 24;

void put(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void putText(std::string& out, const std::string& text) {
  put(out, text.size(), 4);
  out += text;
}

// Reads from `bytes`, never past their end; false when they end first.
class Reader {
 public:
  explicit Reader(const std::string& bytes) : _bytes(bytes) {}
  bool number(std::uint64_t& value, int size) {
    if (_bytes.size() - _offset < static_cast<std::size_t>(size)) return false;
    value = 0;
    for (int i = size - 1; i >= 0; --i)
      value = (value << 8) | static_cast<unsigned char>(_bytes[_offset + i]);
    _offset += size;
    return true;
  }
  bool text(std::string& value) {
    std::uint64_t size = 0;
    if (!number(size, 4) || _bytes.size() - _offset < size) return false;
    value = _bytes.substr(_offset, size);
    _offset += size;
    return true;
  }
  bool atEnd() const { return _offset == _bytes.size(); }
  void skip(std::size_t count) { _offset += count; }

 private:
  const std::string& _bytes;
  std::size_t _offset = 0;
};

}  // namespace

std::string serialiseRecycled(const std::vector<RecycledEntry>& entries) {
  std::string bytes(MAGIC, MAGIC_SIZE);
  put(bytes, entries.size(), 4);
  for (const RecycledEntry& entry : entries) {
    put(bytes, entry.time, 8);
    put(bytes, static_cast<std::uint32_t>(entry.startupType), 4);
    put(bytes, static_cast<std::uint32_t>(entry.state), 4);
    put(bytes, entry.registryType, 4);
    putText(bytes, entry.name);
    putText(bytes, entry.location);
    putText(bytes, entry.bytes);
  }
  return bytes;
}

std::optional<std::vector<RecycledEntry>> parseRecycled(const std::string& bytes) {
  if (bytes.compare(0, MAGIC_SIZE, MAGIC, MAGIC_SIZE) != 0) return std::nullopt;
  Reader reader(bytes);
  reader.skip(MAGIC_SIZE);
  std::uint64_t count = 0;
  if (!reader.number(count, 4)) return std::nullopt;
  std::vector<RecycledEntry> entries;
  for (std::uint64_t i = 0; i < count; ++i) {
    RecycledEntry entry;
    std::uint64_t type = 0, state = 0, registryType = 0;
    if (!reader.number(entry.time, 8) || !reader.number(type, 4) || !reader.number(state, 4) ||
        !reader.number(registryType, 4) || !reader.text(entry.name) ||
        !reader.text(entry.location) || !reader.text(entry.bytes)) {
      return std::nullopt;
    }
    entry.startupType = static_cast<int>(static_cast<std::int32_t>(type));
    entry.state = static_cast<int>(static_cast<std::int32_t>(state));
    entry.registryType = static_cast<std::uint32_t>(registryType);
    entries.push_back(std::move(entry));
  }
  if (!reader.atEnd()) return std::nullopt;
  return entries;
}

std::vector<RecycledEntry> pruneRecycled(std::vector<RecycledEntry> entries, std::uint64_t now) {
  std::stable_sort(entries.begin(), entries.end(),
                   [](const RecycledEntry& a, const RecycledEntry& b) { return a.time > b.time; });
  const std::uint64_t oldest =
      now > RECYCLED_DAYS * STEPS_PER_DAY ? now - RECYCLED_DAYS * STEPS_PER_DAY : 0;
  entries.erase(std::remove_if(entries.begin(), entries.end(),
                               [&](const RecycledEntry& e) { return e.time < oldest; }),
                entries.end());
  if (entries.size() > MAX_RECYCLED) entries.resize(MAX_RECYCLED);
  return entries;
}

}  // namespace products::stelmar::database
