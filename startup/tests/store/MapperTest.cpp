#include <gtest/gtest.h>

#include <string>

#include "startup/Mapper.h"
#include "startup/StartupItem.h"
#include "startup/tests/store/AssertionCatcher.h"

namespace {

TEST(Mapper, MapsBothWaysAndKeepsTheFirstPair) {
  products::stelmar::Mapper<int, std::string> mapper;
  mapper.insert(1, "one");
  mapper.insert(2, "two");
  EXPECT_EQ("one", mapper.getSecond(1));
  EXPECT_EQ(2, mapper.getFirst("two"));
  EXPECT_TRUE(mapper.exists(2));
  EXPECT_TRUE(mapper.secondExists("one"));
  EXPECT_FALSE(mapper.exists(3));

  AssertionCatcher assertions;
  mapper.insert(1, "uno");
  EXPECT_EQ(1u, assertions.count("!exists(first)"));
  EXPECT_EQ("one", mapper.getSecond(1));
  EXPECT_FALSE(mapper.secondExists("uno"));
  EXPECT_EQ("", mapper.getSecond(7));
  EXPECT_EQ(1u, assertions.count("exists(first)"));
  EXPECT_EQ(0, mapper.getFirst("seven"));
  EXPECT_EQ(1u, assertions.count("secondExists(second)"));
  EXPECT_EQ(2u, mapper.size());
}

TEST(Mapper, TiesItemsToEntriesByTypeAndName) {
  using products::stelmar::StartupItem;
  // A tree item (a handle) to the entry it shows.
  products::stelmar::Mapper<const void*, StartupItem, std::less<const void*>,
                            products::stelmar::StartupItemOrder>
      leafMap;
  int leaves[2];
  leafMap.insert(&leaves[0], StartupItem(5, 0, "Tool", "C:\\tool.exe"));
  leafMap.insert(&leaves[1], StartupItem(0, 1, "Tool", "C:\\other.exe"));
  EXPECT_EQ(&leaves[0], leafMap.getFirst(StartupItem(5, 1, "Tool", "")));
  StartupItem* const shown = leafMap.findSecond(&leaves[1]);
  ASSERT_NE(nullptr, shown);
  shown->setState(0);
  EXPECT_EQ(0, leafMap.findSecond(&leaves[1])->getState());

  leafMap.erase(&leaves[0]);
  EXPECT_EQ(nullptr, leafMap.findSecond(&leaves[0]));
  EXPECT_FALSE(leafMap.secondExists(StartupItem(5, 0, "Tool", "")));
  EXPECT_EQ(1u, leafMap.size());
}

}  // namespace
