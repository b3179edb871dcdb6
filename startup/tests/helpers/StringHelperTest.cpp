#include "startup/util/StringHelper.h"

#include <gtest/gtest.h>

#include "startup/tests/base/AssertionRecorder.h"

using util::StringHelper;

TEST(StringHelper, LowersOnlyLatinCapitals) {
  EXPECT_EQ("c:\\program files\\app 2.exe", StringHelper::toLowerCase("C:\\Program Files\\APP 2.exe"));
  EXPECT_EQ("\xC9t\xE9", StringHelper::toLowerCase("\xC9T\xE9"));
}

TEST(StringHelper, ReplacesEveryOccurrenceLeftToRight) {
  struct Case { const char* in; const char* from; const char* to; const char* out; };
  const Case cases[] = {
      {"\"C:\\a b\\x.exe\" /s", "\"", "", "C:\\a b\\x.exe /s"},
      {"aaaa", "aa", "a", "aa"},
      {"abc", "", "x", "abc"},
      {"abab", "ab", "abab", "abababab"},
      {"", "a", "b", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.out, StringHelper::replaceAll(c.in, c.from, c.to)) << c.in;
  EXPECT_EQ("say hi", StringHelper::removeQuotes("say \"hi\""));
}

TEST(StringHelper, TextWithAZeroByteIsReportedAndStillWorkedOn) {
  testing_support::AssertionRecorder recorder;
  const std::string withZero("a\0a", 3);
  EXPECT_EQ(std::string("b\0b", 3), StringHelper::replaceAll(withZero, "a", "b"));
  ASSERT_EQ(1u, recorder.conditions.size());
  EXPECT_EQ("find(replaceIn.begin(), replaceIn.end(), '\\0') == replaceIn.end()",
            recorder.conditions[0]);
}
