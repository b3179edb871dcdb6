#include <gtest/gtest.h>

#include "startup/database/RecycleFile.h"

namespace {

using namespace products::stelmar::database;

constexpr std::uint64_t DAY = 10000000ull * 60 * 60 * 24;

TEST(RecycleFile, RefusesCutBytesAndKeepsTheNewestHundredOfNinetyDays) {
  // (A whole store is written and read back by the restore test of StoreSafety.)
  const std::string bytes = serialiseRecycled({{7 * DAY, 5, 1, 2, "Tool", "Run", "%x%"}});
  for (std::size_t cut = 0; cut < bytes.size(); ++cut)
    EXPECT_FALSE(parseRecycled(bytes.substr(0, cut)));
  std::vector<RecycledEntry> many;
  for (std::uint64_t day = 0; day < 150; ++day) many.push_back({day * DAY, 5, 0, 1, "", "", ""});
  struct Case {
    std::uint64_t now;
    std::size_t kept;
    std::uint64_t oldest;
  };
  for (const Case& c : {Case{150 * DAY, 90, 60 * DAY}, Case{200 * DAY, 40, 110 * DAY},
                        Case{120 * DAY, 100, 50 * DAY}}) {
    const std::vector<RecycledEntry> kept = pruneRecycled(many, c.now);
    ASSERT_EQ(c.kept, kept.size()) << c.now / DAY;
    EXPECT_EQ(149 * DAY, kept.front().time);  // newest first
    EXPECT_EQ(c.oldest, kept.back().time);
  }
}

}  // namespace
