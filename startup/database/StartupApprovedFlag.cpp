#include "startup/database/StartupApprovedFlag.h"

namespace products::stelmar::database {

namespace {
constexpr std::size_t TIME_OFFSET = 4;
constexpr std::size_t TIME_SIZE = 8;
}  // namespace

ApprovedFlag decodeApprovedFlag(const std::string& bytes) {
  ApprovedFlag flag;
  if (bytes.size() < APPROVED_FLAG_SIZE) return flag;
  switch (static_cast<unsigned char>(bytes[0])) {
    case 0x02:
    case 0x06:
      flag.state = ApprovedState::Enabled;
      break;
    case 0x03:
    case 0x07:
      flag.state = ApprovedState::Disabled;
      break;
    default:
      return flag;
  }
  for (std::size_t i = TIME_SIZE; i > 0; --i) {
    flag.time = (flag.time << 8) | static_cast<unsigned char>(bytes[TIME_OFFSET + i - 1]);
  }
  return flag;
}

std::string encodeApprovedFlag(bool enabled, std::uint64_t time) {
  std::string bytes(APPROVED_FLAG_SIZE, '\0');
  bytes[0] = static_cast<char>(enabled ? 0x02 : 0x03);
  for (std::size_t i = 0; i < TIME_SIZE; ++i) {
    bytes[TIME_OFFSET + i] = static_cast<char>((time >> (8 * i)) & 0xFF);
  }
  return bytes;
}

}  // namespace products::stelmar::database
