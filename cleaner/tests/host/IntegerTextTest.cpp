#include "cleaner/host/IntegerText.h"

#include <gtest/gtest.h>

namespace {

TEST(IntegerText, AcceptsDecimalAndHexadecimalForms) {
  struct Case { const char* text; long long value; };
  const Case cases[] = {
      {"0", 0},           {"255", 255},              {"  255", 255},        {"\t7", 7},
      {"+12", 12},        {"-1", -1},                {"0x800000", 0x800000}, {"0X1f", 31},
      {"$FF0000", 0xFF0000},                         {"-$10", -16},          {"0x02DDDDDD", 0x02DDDDDD},
      {"9223372036854775807", 9223372036854775807LL},
      {"-9223372036854775808", static_cast<long long>(0x8000000000000000ULL)},
      {"0xFFFFFFFFFFFFFFFF", -1},
  };
  for (const Case& c : cases) {
    long long value = 12345;
    EXPECT_TRUE(integertext::TryParseInt64(c.text, value)) << c.text;
    EXPECT_EQ(c.value, value) << c.text;
  }
}

TEST(IntegerText, RefusesAnythingElse) {
  const char* const cases[] = {"",      " ",     "abc",   "12abc", "255 ",  "0x",   "$",
                               "- 1",   "0x-1",  "1.5",   "0xG",   "+",     "0x10000000000000000",
                               "9223372036854775808",    "--1",   "12 3",  "x10"};
  for (const char* text : cases) {
    long long value = 0;
    EXPECT_FALSE(integertext::TryParseInt64(text, value)) << text;
  }
}

TEST(IntegerText, MessageNamesTheText) {
  EXPECT_EQ("'blue' is not a valid integer value", integertext::NotValidIntegerMessage("blue"));
  EXPECT_EQ("'' is not a valid integer value", integertext::NotValidIntegerMessage(""));
}

}  // namespace
