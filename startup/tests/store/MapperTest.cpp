#include <gtest/gtest.h>

#include <string>

#include "startup/Mapper.h"
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

}  // namespace
