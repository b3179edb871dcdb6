#include "cleaner/host/PresetNames.h"

#include <gtest/gtest.h>

namespace {

using V = std::vector<std::string>;

TEST(PresetNames, EncodesQuotingOnlyWhatNeedsIt) {
  struct Case { V names; const char* text; };
  const Case cases[] = {
      {{}, ""},
      {{""}, "\"\""},
      {{"Weekly"}, "Weekly"},
      {{"Weekly", "Daily"}, "Weekly,Daily"},
      {{"My preset", "a,b", "say \"hi\""}, "\"My preset\",\"a,b\",\"say \"\"hi\"\"\""},
      {{"", "a"}, ",a"},
      {{"tab\there"}, "\"tab\there\""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.text, presetnames::Encode(c.names)) << c.text;
}

TEST(PresetNames, DecodesWhatWasWrittenAndWhatWasTypedByHand) {
  struct Case { const char* text; V names; };
  const Case cases[] = {
      {"", {}},
      {"   ", {}},
      {"\"\"", {""}},
      {"Weekly,Daily", {"Weekly", "Daily"}},
      {"  Weekly ,  Daily  ", {"Weekly", "Daily"}},
      {"\"My preset\",\"a,b\",\"say \"\"hi\"\"\"", {"My preset", "a,b", "say \"hi\""}},
      {",a", {"", "a"}},
      {"a,", {"a"}},
      {"two words", {"two", "words"}},
      {"\"open to the end", {"open to the end"}},
      {"\"ab\"cd", {"ab", "cd"}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.names, presetnames::Decode(c.text)) << c.text;
}

TEST(PresetNames, RoundTripsAwkwardNames) {
  const V names = {"a b", ",", "\"", "", "x"};
  EXPECT_EQ(names, presetnames::Decode(presetnames::Encode(names)));
}

TEST(PresetNames, ReservesTheHostSections) {
  EXPECT_TRUE(presetnames::IsReserved("plugins"));
  EXPECT_TRUE(presetnames::IsReserved("Plugins"));
  EXPECT_TRUE(presetnames::IsReserved("morvel"));
  EXPECT_TRUE(presetnames::IsReserved("MORVEL"));
  EXPECT_FALSE(presetnames::IsReserved("morvel2"));
  EXPECT_FALSE(presetnames::IsReserved(""));
}

}  // namespace
