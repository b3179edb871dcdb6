// The switch by which Windows (its Task Manager, from Windows 8 on) turns a startup entry off
// without removing it: a REG_BINARY value, named as the Run value or the shortcut's file
// name, under ...\Explorer\StartupApproved\Run, Run32 or StartupFolder. Its first byte says
// enabled (02, 06) or disabled (03, 07); bytes 4 to 11 hold the time of disabling (a
// FILETIME, little-endian). Needs no Windows call.
#pragma once

#include <cstdint>
#include <string>

namespace products::stelmar::database {

enum class ApprovedState { Enabled, Disabled, Malformed };

struct ApprovedFlag {
  ApprovedState state = ApprovedState::Malformed;
  std::uint64_t time = 0;  // when it was switched off; 0 when enabled
};

constexpr std::size_t APPROVED_FLAG_SIZE = 12;

// Shorter than 12 bytes or an unknown first byte: Malformed, which no caller acts upon.
ApprovedFlag decodeApprovedFlag(const std::string& bytes);
// 12 bytes: 02 (enabled) or 03 (disabled), three zero bytes, the time.
std::string encodeApprovedFlag(bool enabled, std::uint64_t time);

}  // namespace products::stelmar::database
