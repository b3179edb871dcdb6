// The settings file "morvel.ini": defaults, colour formats and the stop at a bad colour.
#include <gtest/gtest.h>

#include "cleaner/host/HostSettings.h"
#include "tests/harness/Harness.h"

namespace {

class Settings : public ::testing::Test {
 protected:
  bool Read(const std::string& text, HostSettings& settings, std::string& error) {
    if (!text.empty()) harness::WriteTextFile(folder_ / "morvel.ini", text);
    return hostsettings::Read(folder_ / "morvel.ini", settings, error);
  }
  harness::TempFolder folder_;
};

TEST_F(Settings, MissingFileGivesTheDefaults) {
  HostSettings s;
  std::string error;
  ASSERT_TRUE(Read("", s, error));
  const COLORREF expected[] = {0x02DDDDDD, 0x02DDDDDD, 0x02EFEFEF, 0x02FFDDAA, 0xFFFFFF,
                               0x800000,   0x02AA6633, 0x02E2B588, 0x000000,   0x00FFFFFF};
  for (int i = 0; i < kHostColourCount; ++i) EXPECT_EQ(expected[i], s.colours[i]) << i;
  EXPECT_FALSE(s.defaultButtons);
  EXPECT_TRUE(s.removeOnReboot);
  EXPECT_FALSE(s.hideItems);
}

TEST_F(Settings, ColoursInEveryFormat) {
  HostSettings s;
  std::string error;
  ASSERT_TRUE(Read("[MORVEL]\r\nWindowColor=255\r\nbtnclrnormal=$FF0000\r\nFrameColor=  -1\r\n"
                   "TextColor=0X0000FF\r\nDefaultButtons=1\r\nRemoveOnReboot=0\r\nHideItems=2\r\n",
                   s, error));
  EXPECT_EQ(0x0000FFu, s.colours[WindowColor]);  // pure red
  EXPECT_EQ(0xFF0000u, s.colours[BtnClrNormal]);  // pure blue
  EXPECT_EQ(0xFFFFFFFFu, s.colours[FrameColor]);
  EXPECT_EQ(0x0000FFu, s.colours[TextColor]);
  EXPECT_TRUE(s.defaultButtons);
  EXPECT_FALSE(s.removeOnReboot);
  EXPECT_TRUE(s.hideItems);
}

TEST_F(Settings, BadColourStopsTheReadingThere) {
  HostSettings s;
  std::string error;
  EXPECT_FALSE(Read("[morvel]\r\nBtnClrLBtnDown=light blue\r\nHideItems=1\r\nTextColor=5\r\n", s, error));
  EXPECT_EQ("'light blue' is not a valid integer value", error);
  EXPECT_EQ(0x02EFEFEFu, s.colours[BtnClrMouseOver]);  // read before the bad key
  EXPECT_EQ(0u, s.colours[TextColor]);                 // never read
  EXPECT_FALSE(s.hideItems);
  EXPECT_FALSE(s.removeOnReboot);
}

}  // namespace
