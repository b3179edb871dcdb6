#include "startup/util/UrlEncoder.h"

#include <gtest/gtest.h>

TEST(UrlEncoder, EncodesAllButUnreservedBytesAndJoinsPairsInOrder) {
  struct Case { const char* value; const char* encoded; };
  const Case cases[] = {{"AZaz09-._~", "AZaz09-._~"}, {"a&b=c#d e+f@", "a%26b%3Dc%23d%20e%2Bf%40"},
                        {"C:\\x\xE9\x01/?%", "C%3A%5Cx%E9%01%2F%3F%25"}, {"", ""}};
  for (const Case& c : cases) EXPECT_EQ(c.encoded, util::encodeQueryValue(c.value)) << c.value;
  EXPECT_EQ("filename=a%26b.exe&startup=HKLM%5CRun&affiliate=",
            util::buildQuery({{"filename", "a&b.exe"}, {"startup", "HKLM\\Run"}, {"affiliate", ""}}));
}
