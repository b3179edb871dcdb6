#include "startup/database/StartupApprovedFlag.h"

#include <gtest/gtest.h>

namespace {

using products::stelmar::database::ApprovedState;
using products::stelmar::database::decodeApprovedFlag;
using products::stelmar::database::encodeApprovedFlag;

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

TEST(StartupApprovedFlag, DecodesTheFirstByteAndTheTime) {
  struct Case {
    std::string bytes;
    ApprovedState state;
    std::uint64_t time;
  };
  const Case cases[] = {
      {Bytes({2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), ApprovedState::Enabled, 0},
      {Bytes({6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), ApprovedState::Enabled, 0},
      {Bytes({3, 0, 0, 0, 0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0x01}),
       ApprovedState::Disabled, 0x01DCBA9876543210ull},
      {Bytes({7, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 9, 9}), ApprovedState::Disabled, 1},
      {Bytes({3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), ApprovedState::Malformed, 0},  // 11 bytes
      {Bytes({4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), ApprovedState::Malformed, 0},
      {Bytes({0x83, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), ApprovedState::Malformed, 0},
      {std::string(), ApprovedState::Malformed, 0},
  };
  for (const Case& c : cases) {
    const auto flag = decodeApprovedFlag(c.bytes);
    EXPECT_EQ(c.state, flag.state) << c.bytes.size() << " bytes, first " << int(c.bytes[0]);
    EXPECT_EQ(c.time, flag.time);
  }
}

TEST(StartupApprovedFlag, EncodesAsWindowsDoesAndReadsBack) {
  EXPECT_EQ(Bytes({2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), encodeApprovedFlag(true, 0));
  const std::string off = encodeApprovedFlag(false, 0x01DCBA9876543210ull);
  EXPECT_EQ(Bytes({3, 0, 0, 0, 0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0x01}), off);
  EXPECT_EQ(0x01DCBA9876543210ull, decodeApprovedFlag(off).time);
}

}  // namespace
