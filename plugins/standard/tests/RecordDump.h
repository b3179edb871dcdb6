// What the test driver writes about the plug-in's records: the first 340 bytes of every
// DLLItem exactly as they lie in memory, and what the handles and callbacks held.
#pragma once

#include <cstdint>

namespace dump {

constexpr int kTitleOffset = 0;
constexpr int kDescriptionOffset = 50;
constexpr int kSizeFoundOffset = 308;
constexpr int kCountFoundOffset = 316;
constexpr int kSizeCleanedOffset = 324;
constexpr int kCountCleanedOffset = 332;
constexpr int kRawSize = 340;

struct Header {
  std::int32_t moduleMatches;
  std::int32_t itemCount;
  std::int32_t nextKept;
};

struct Item {
  unsigned char raw[kRawSize];
  std::int32_t hasClean;
  std::int32_t hasConfig;
  std::int32_t iconWidth;
  std::int32_t iconHeight;
};

}  // namespace dump
