#include <gtest/gtest.h>

#include "startup/StartupConstants.h"
#include "startup/StartupItem.h"
#include "startup/tests/store/AssertionCatcher.h"

namespace {

using products::stelmar::StartupConstants;
using products::stelmar::StartupItem;

TEST(StartupConstants, NamesEveryTypeAndNothingElse) {
  const char* const names[] = {"LM_RUN_ALWAYS",    "LM_RUN_ONCE",          "LM_RUN_ONCE_EX",
                               "LM_RUN_SERVICE",   "LM_RUN_SERVICE_ONCE",  "CU_RUN_ALWAYS",
                               "CU_RUN_ONCE",      "LM_RUN_AUTOSTART",     "LM_RUN_AUTOSTART_USER",
                               "CU_RUN_AUTOSTART", "CU_RUN_AUTOSTART_USER", "LM_RUN_ALWAYS_32",
                               "LM_RUN_ONCE_32"};
  static_assert(StartupConstants::MAX_TYPES == 13);
  for (int type = 0; type < StartupConstants::MAX_TYPES; ++type) {
    EXPECT_EQ(names[type], StartupConstants::typeToString(type));
  }
  AssertionCatcher assertions;
  EXPECT_EQ("N/A", StartupConstants::typeToString(13));
  EXPECT_EQ("N/A", StartupConstants::typeToString(-1));
  EXPECT_EQ(2u, assertions.count("false"));
}

TEST(StartupItem, EqualityIsTypeAndNameWithoutCase) {
  // Windows compares value and file names without case: "tool" is the same entry.
  const StartupItem a(5, StartupConstants::ENABLED, "Tool", "C:\\tool.exe");
  EXPECT_EQ(a, StartupItem(5, StartupConstants::DISABLED, "Tool", "C:\\other.exe -x"));
  EXPECT_EQ(a, StartupItem(5, StartupConstants::ENABLED, "tOOL", "C:\\tool.exe"));
  EXPECT_NE(a, StartupItem(5, StartupConstants::ENABLED, "Tools", "C:\\tool.exe"));
  EXPECT_NE(a, StartupItem(6, StartupConstants::ENABLED, "Tool", "C:\\tool.exe"));
  products::stelmar::StartupItemOrder less;
  EXPECT_FALSE(less(a, StartupItem(5, 1, "TOOL", "x")));
  EXPECT_FALSE(less(StartupItem(5, 1, "TOOL", "x"), a));
  EXPECT_TRUE(less(StartupItem(1, 0, "a", ""), StartupItem(1, 0, "B", "")));
  EXPECT_TRUE(less(StartupItem(0, 0, "Z", ""), StartupItem(1, 0, "A", "")));
  EXPECT_TRUE(less(StartupItem(1, 0, "A", ""), StartupItem(1, 0, "B", "")));
}

TEST(StartupItem, ChangedFollowsTheInitialState) {
  StartupItem item(0, StartupConstants::DISABLED, "n", "d");
  EXPECT_FALSE(item.isChanged());
  item.setState(StartupConstants::ENABLED);
  EXPECT_TRUE(item.isChanged());
  item.setState(StartupConstants::ENABLED);
  EXPECT_TRUE(item.isChanged());
  item.setState(StartupConstants::DISABLED);
  EXPECT_FALSE(item.isChanged());
  EXPECT_EQ(StartupConstants::DISABLED, item.getInitialState());
}

TEST(StartupItem, ChecksTypeAndStateWhenMade) {
  AssertionCatcher assertions;
  StartupItem wrongType(13, StartupConstants::ENABLED, "n", "d");
  EXPECT_EQ(13, wrongType.getType());
  StartupItem negativeType(-3, StartupConstants::ENABLED, "n", "d");
  EXPECT_EQ(2u, assertions.count("_type < StartupConstants::MAX_TYPES"));
  StartupItem wrongState(1, 2, "n", "d");
  EXPECT_EQ(2, wrongState.getState());
  EXPECT_EQ(1u, assertions.count(
                    "_state == StartupConstants::DISABLED || _state == StartupConstants::ENABLED"));
  EXPECT_EQ(3u, assertions.total());
}

TEST(StartupItem, EntryText) {
  EXPECT_EQ("Type: 6\nState: 1\nValue: My Tool\nData: \"C:\\a b\\t.exe\" -x",
            StartupItem(6, 1, "My Tool", "\"C:\\a b\\t.exe\" -x").toString());
}

TEST(StartupItem, RawRecordLayout) {
  const std::string empty = StartupItem(3, StartupConstants::DISABLED, "", "").toRawData();
  EXPECT_EQ(std::string("\x03\0\0\0\x01\0\0\0\0\0", 10), empty);

  const StartupItem item(0x0A, StartupConstants::DISABLED, "Name", "C:\\x.exe /y");
  const std::string raw = item.toRawData();
  ASSERT_EQ(4u + 11u + 10u, raw.size());
  EXPECT_EQ(std::string("\x0A\0\0\0\x01\0\0\0Name\0C:\\x.exe /y\0", 25), raw);

  std::optional<StartupItem> back = StartupItem::fromRawData(raw.data(), raw.size());
  ASSERT_TRUE(back);
  EXPECT_EQ(item, *back);
  EXPECT_EQ("C:\\x.exe /y", back->getData());
  EXPECT_EQ(StartupConstants::DISABLED, back->getState());
  EXPECT_FALSE(back->isChanged());
  EXPECT_EQ(raw.size(), back->getRawSize());
}

TEST(StartupItem, RawRecordOfAnEnabledEntryIsReported) {
  AssertionCatcher assertions;
  StartupItem(0, StartupConstants::ENABLED, "n", "d").toRawData();
  EXPECT_EQ(1u, assertions.count("_state == StartupConstants::DISABLED"));
}

TEST(StartupItem, ParsingNeverReadsPastTheBytes) {
  const std::string raw = StartupItem(2, 1, "abc", "xyz").toRawData();
  AssertionCatcher assertions;
  for (std::size_t size = 1; size < raw.size(); ++size) {
    // A copy of exactly `size` bytes, so that the sanitizers see any read beyond it.
    std::vector<char> bytes(raw.begin(), raw.begin() + size);
    EXPECT_FALSE(StartupItem::fromRawData(bytes.data(), bytes.size())) << size;
  }
  EXPECT_FALSE(StartupItem::fromRawData(nullptr, 0));
  EXPECT_EQ(1u, assertions.count("rawdata"));
  std::vector<char> whole(raw.begin(), raw.end());
  EXPECT_TRUE(StartupItem::fromRawData(whole.data(), whole.size()));
}

TEST(StartupItem, ParsingKeepsForeignTypesAndMakesEveryRecordDisabled) {
  AssertionCatcher assertions;
  const std::string badType("\x0D\0\0\0\x01\0\0\0n\0d\0", 12);
  std::optional<StartupItem> item = StartupItem::fromRawData(badType.data(), badType.size());
  ASSERT_TRUE(item);
  EXPECT_EQ(13, item->getType());
  const std::string enabled("\x01\0\0\0\0\0\0\0n\0d\0", 12);
  item = StartupItem::fromRawData(enabled.data(), enabled.size());
  ASSERT_TRUE(item);
  EXPECT_EQ(StartupConstants::DISABLED, item->getState());
  EXPECT_EQ(StartupConstants::ENABLED, StartupItem::rawState(enabled.data(), enabled.size()));
  // The file's loader reports the damage, once for the whole file.
  EXPECT_EQ(0u, assertions.total());
}

}  // namespace
