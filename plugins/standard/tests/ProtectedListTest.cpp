// The protected cookie list stored in a real "plugins.ini": keys 1, 2, 3 ... without gaps.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "common/Ini.h"
#include "plugins/standard/ProtectedList.h"
#include "plugins/standard/Rules.h"
#include "tests/harness/Harness.h"

namespace orvane {
namespace {

std::vector<std::string> g_messages;
void Record(const char* text, const char* caption) {
  g_messages.push_back(std::string(caption) + ": " + text);
}

class ProtectedList : public ::testing::Test {
 protected:
  void SetUp() override { g_messages.clear(); }
  std::vector<std::string> Load() {
    ProtectedBlock block = LoadProtectedList(file_, Record);
    EXPECT_TRUE(block != nullptr);
    return ProtectedNames(BlockNames(block));
  }
  harness::TempFolder folder_;
  const std::string file_ = folder_ / "plugins.ini";
};

TEST_F(ProtectedList, LoadReadsKeysUntilTheFirstGapOrMinusOne) {
  struct Case { const char* section; std::vector<std::string> names; };
  const Case cases[] = {
      {"", {}},
      {"1=Cookie:a@x/\r\n2=Cookie:b@y/\r\n3=Cookie:c@z/\r\n",
       {"Cookie:a@x/", "Cookie:b@y/", "Cookie:c@z/"}},
      {"1=Cookie:a@x/\r\n2=Cookie:b@y/\r\n4=Cookie:d@w/\r\n", {"Cookie:a@x/", "Cookie:b@y/"}},
      {"1=Cookie:a@x/\r\n2=-1\r\n3=Cookie:c@z/\r\n", {"Cookie:a@x/"}},
      {"2=Cookie:b@y/\r\n", {}},
  };
  for (const Case& c : cases) {
    harness::WriteTextFile(file_, std::string("[PROTECTED COOKIES]\r\n") + c.section);
    EXPECT_EQ(c.names, Load()) << c.section;
  }
  EXPECT_TRUE(g_messages.empty());
}

TEST_F(ProtectedList, TwoThousandNamesAndALongOneSurviveARoundTrip) {
  std::vector<std::string> names;
  for (int n = 1; n <= 2000; ++n) names.push_back("Cookie:me@site" + std::to_string(n) + ".example/");
  names[999] = "Cookie:me@" + std::string(290, 'x');  // 300 characters
  std::string text = "[PROTECTED COOKIES]\r\n";
  for (std::size_t i = 0; i < names.size(); ++i) text += std::to_string(i + 1) + "=" + names[i] + "\r\n";
  harness::WriteTextFile(file_, text);
  ProtectedBlock block = LoadProtectedList(file_, Record);
  ASSERT_TRUE(block != nullptr);
  EXPECT_EQ(names, ProtectedNames(BlockNames(block)));
  EXPECT_TRUE(IsProtected(BlockNames(block), names[999].c_str()));
  SaveProtectedList(file_, BlockNames(block), Record);
  EXPECT_EQ(names, Load());
  EXPECT_TRUE(g_messages.empty());
}

TEST_F(ProtectedList, SaveRenumbersWithoutGaps) {
  harness::WriteTextFile(file_,
                         "[STD SETTINGS]\r\nDaysToKeep=3\r\n[PROTECTED COOKIES]\r\n1=Cookie:a@x/\r\n"
                         "2=Cookie:b@y/\r\n4=Cookie:d@w/\r\n9=Cookie:old@v/\r\n");
  ProtectedBlock block = LoadProtectedList(file_, Record);
  ASSERT_TRUE(block != nullptr);
  SaveProtectedList(file_, BlockNames(block), Record);
  EXPECT_EQ("Cookie:a@x/", ini::ReadString(file_, "PROTECTED COOKIES", "1", "?"));
  EXPECT_EQ("Cookie:b@y/", ini::ReadString(file_, "PROTECTED COOKIES", "2", "?"));
  EXPECT_EQ("?", ini::ReadString(file_, "PROTECTED COOKIES", "4", "?"));
  EXPECT_EQ("?", ini::ReadString(file_, "PROTECTED COOKIES", "9", "?"));
  EXPECT_EQ("3", ini::ReadString(file_, "STD SETTINGS", "DaysToKeep", "?"));

  ProtectedBlock empty = NewProtectedBlock();
  SaveProtectedList(file_, BlockNames(empty), Record);
  EXPECT_EQ("?", ini::ReadString(file_, "PROTECTED COOKIES", "1", "?"));
  EXPECT_TRUE(g_messages.empty());
}

}  // namespace
}  // namespace orvane
