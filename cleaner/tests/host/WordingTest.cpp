#include "cleaner/host/Wording.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatByteSize, WordsEachRange) {
  struct Case { long long bytes; const char* text; };
  const Case cases[] = {
      {0, "0 bytes"},          {1, "1 bytes"},           {1023, "1023 bytes"},
      {1024, "1 kB"},          {2047, "1 kB"},           {2048, "2 kB"},
      {10485759, "10239 kB"},  {10485760, "10.0 MB"},    {10538188, "10.0 MB"},
      {10538189, "10.1 MB"},   {3565158, "3481 kB"},     {1073741824, "1024.0 MB"},
      {5368709120LL, "5120.0 MB"},                       {-5, "-5 bytes"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.text, wording::FormatByteSize(c.bytes, '.')) << c.bytes;
}

TEST(FormatByteSize, UsesTheLocaleSeparatorAndSevenSignificantDigits) {
  EXPECT_EQ("10,0 MB", wording::FormatByteSize(10485760, ','));
  // 9,999,999.9 MB keeps all digits; beyond seven integer digits the value is rounded.
  EXPECT_EQ("1234567.0 MB", wording::FormatByteSize(1234567LL * 1048576, '.'));
  EXPECT_EQ("12345680.0 MB", wording::FormatByteSize(12345678LL * 1048576, '.'));
}

TEST(Caption, ChoosesItemOrItems) {
  EXPECT_EQ("Internet Cookies (12 kB; 40 items)", wording::Caption("Internet Cookies", 12288, 40, '.'));
  EXPECT_EQ("X (0 bytes; 0 items)", wording::Caption("X", 0, 0, '.'));
  EXPECT_EQ("X (1 bytes; 1 item)", wording::Caption("X", 1, 1, '.'));
  EXPECT_EQ("X (2 bytes; 2 items)", wording::Caption("X", 2, 2, '.'));
  EXPECT_EQ("Huge (5120.0 MB; 5000000000 items)", wording::Caption("Huge", 5368709120LL, 5000000000LL, '.'));
}

TEST(SelectionTotal, Words) {
  EXPECT_EQ("Total of 0 bytes selected to clean", wording::SelectionTotal(0, '.'));
  EXPECT_EQ("Total of 10.0 MB selected to clean", wording::SelectionTotal(10485760, '.'));
}

}  // namespace
