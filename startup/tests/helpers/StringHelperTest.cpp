#include "startup/util/StringHelper.h"

#include <gtest/gtest.h>

#include "startup/tests/base/AssertionRecorder.h"

using util::StringHelper;

TEST(StringHelper, LowersAndReplaces) {
  EXPECT_EQ("c:\\app 2.exe \xC9", StringHelper::toLowerCase("C:\\APP 2.exe \xC9"));
  struct Case { const char* in; const char* from; const char* to; const char* out; };
  const Case cases[] = {{"aaaa", "aa", "a", "aa"}, {"abab", "ab", "abab", "abababab"},
                        {"abc", "", "x", "abc"}, {"", "a", "b", ""}};
  for (const Case& c : cases) EXPECT_EQ(c.out, StringHelper::replaceAll(c.in, c.from, c.to)) << c.in;
  EXPECT_EQ("C:\\a b\\x.exe /s", StringHelper::removeQuotes("\"C:\\a b\\x.exe\" /s"));
}

TEST(StringHelper, TextWithAZeroByteIsReportedAndStillWorkedOn) {
  testing_support::AssertionRecorder recorder;
  EXPECT_EQ(std::string("b\0b", 3), StringHelper::replaceAll(std::string("a\0a", 3), "a", "b"));
  EXPECT_EQ(std::vector<std::string>{"find(replaceIn.begin(), replaceIn.end(), '\\0') == replaceIn.end()"},
            recorder.conditions);
}
