#include "startup/util/parser/StringTokenizerImpl.h"

#include <gtest/gtest.h>

#include <vector>

#include "startup/tests/base/AssertionRecorder.h"

namespace {

using util::parser::StringTokenizerImpl;

std::vector<std::string> allTokens(const std::string& text, const std::string& delimiters) {
  StringTokenizerImpl tokenizer(text, delimiters);
  std::vector<std::string> tokens;
  while (tokenizer.hasMoreTokens()) tokens.push_back(tokenizer.nextToken());
  return tokens;
}

TEST(StringTokenizer, RunsOfDelimitersGiveNoEmptyTokens) {
  struct Case {
    const char* text;
    std::vector<std::string> tokens;
  };
  const Case cases[] = {
      {"", {}},
      {"\r\n\n\r", {}},
      {"a", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"\n\na\r\r\nb\n", {"a", "b"}},
      {"a=b=c", {"a", "b", "c"}},
      {"key=", {"key"}},
      {"=value", {"value"}},
  };
  for (const Case& c : cases) {
    const std::string delimiters = std::string(c.text).find('=') != std::string::npos ? "=" : "\r\n";
    EXPECT_EQ(c.tokens, allTokens(c.text, delimiters)) << c.text;
  }
}

TEST(StringTokenizer, CountsAndLooksAheadWithoutMoving) {
  StringTokenizerImpl tokenizer(";one;;two;three;", ";");
  EXPECT_EQ(3, tokenizer.countTokens());
  EXPECT_EQ("one", tokenizer.tokenAhead(0));
  EXPECT_EQ("three", tokenizer.tokenAhead(2));
  EXPECT_EQ("one", tokenizer.nextToken());
  EXPECT_EQ(2, tokenizer.countTokens());
  EXPECT_EQ("three", tokenizer.tokenAhead(1));
  EXPECT_EQ("two", tokenizer.nextToken());
}

TEST(StringTokenizer, ReadingPastTheEndAssertsAndGivesNothing) {
  testing_support::AssertionRecorder recorder;
  StringTokenizerImpl tokenizer("x", ",");
  EXPECT_EQ("", tokenizer.tokenAhead(1));  // one token left: nothing one place after it
  EXPECT_EQ("", tokenizer.tokenAhead(5));
  EXPECT_EQ("x", tokenizer.nextToken());
  EXPECT_FALSE(tokenizer.hasMoreTokens());
  EXPECT_EQ("", tokenizer.nextToken());
  EXPECT_EQ((std::vector<std::string>{"countTokens() >= tokensAheadOfNextToken", "hasMoreTokens()"}),
            recorder.conditions);
}

}  // namespace
