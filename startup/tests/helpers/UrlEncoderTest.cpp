#include "startup/util/UrlEncoder.h"

#include <gtest/gtest.h>

TEST(UrlEncoder, EncodesEverythingButUnreservedBytes) {
  struct Case { const char* value; const char* encoded; };
  const Case cases[] = {
      {"AZaz09-._~", "AZaz09-._~"},
      {"me@host.example", "me%40host.example"},
      {"a&b=c#d e+f", "a%26b%3Dc%23d%20e%2Bf"},
      {"C:\\Program Files\\x.exe", "C%3A%5CProgram%20Files%5Cx.exe"},
      {"\xE9\x7F\x01/?%", "%E9%7F%01%2F%3F%25"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.encoded, util::encodeQueryValue(c.value)) << c.value;
}

TEST(UrlEncoder, JoinsEncodedPairsInTheirOrder) {
  EXPECT_EQ("filename=a%26b.exe&startup=HKLM%5CRun&affiliate=",
            util::buildQuery({{"filename", "a&b.exe"}, {"startup", "HKLM\\Run"}, {"affiliate", ""}}));
  EXPECT_EQ("", util::buildQuery({}));
}
