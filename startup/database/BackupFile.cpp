#include "startup/database/BackupFile.h"

#include <cstdint>

#include "startup/StartupConstants.h"

namespace products::stelmar::database {

namespace {
constexpr std::size_t COUNT_SIZE = 4;
}

BackupFileContents parseBackupFile(const std::string& bytes) {
  BackupFileContents result;
  if (bytes.size() < COUNT_SIZE) {
    result.noteProblem("The file holds " + std::to_string(bytes.size()) +
                       " bytes, fewer than the 4 bytes of its record count.");
    return result;
  }
  std::uint32_t bits = 0;
  for (int i = 3; i >= 0; --i) bits = (bits << 8) | static_cast<unsigned char>(bytes[i]);
  const auto count = static_cast<std::int32_t>(bits);
  if (count < 0) {
    result.noteProblem("The record count " + std::to_string(count) + " is negative.");
    return result;
  }

  std::size_t offset = COUNT_SIZE;
  for (std::int32_t i = 0; i < count; ++i) {
    std::optional<StartupItem> item =
        StartupItem::fromRawData(bytes.data() + offset, bytes.size() - offset);
    if (!item) {
      result.noteProblem(
          "The record count promises " + std::to_string(count) + " records, but the " +
          std::to_string(bytes.size()) + " bytes of the file hold only " + std::to_string(i) +
          " whole records; the " + std::to_string(bytes.size() - offset) + " bytes from offset " +
          std::to_string(offset) + " on are no whole record.");
      return result;
    }
    if (!StartupConstants::isValidType(item->getType())) {
      result.noteProblem("The record at offset " + std::to_string(offset) + " has the type " +
                         std::to_string(item->getType()) + ", which is no startup type.");
    }
    const int state = StartupItem::rawState(bytes.data() + offset, bytes.size() - offset);
    if (state != StartupConstants::DISABLED) {
      result.noteProblem("The record at offset " + std::to_string(offset) + " has the state " +
                         std::to_string(state) + " instead of the disabled state.");
    }
    offset += item->getRawSize();
    result.entries.push_back(std::move(*item));
  }
  if (offset != bytes.size()) {
    result.noteProblem("The file holds " + std::to_string(bytes.size() - offset) +
                       " bytes after its " + std::to_string(count) + " records.");
  }
  return result;
}

std::string serialiseBackupFile(const std::vector<StartupItem>& entries) {
  std::string bytes;
  const auto bits = static_cast<std::uint32_t>(entries.size());
  for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((bits >> shift) & 0xFF);
  for (const StartupItem& item : entries) bytes += item.toRawData();
  return bytes;
}

}  // namespace products::stelmar::database
