#include "cleaner/forms/FormRules.h"

#include <gtest/gtest.h>

namespace {

using formrules::Box;

TEST(FormRules, AboutStaysCentredRoundingTowardsZero) {
  EXPECT_EQ(111, formrules::AboutLeft(102, 210, 89));  // the first layout
  EXPECT_EQ(161, formrules::AboutLeft(102, 310, 89));  // wider: (310 - 102 - 89) / 2 = 59
  EXPECT_EQ(102, formrules::AboutLeft(102, 190, 89));  // -1 / 2 rounds to 0
}

TEST(FormRules, PopupIsKeptOnTheDesktop) {
  struct Case { Box popup, desktop; int left, top; };
  const Case cases[] = {
      {{100, 100, 50, 40}, {0, 0, 800, 600}, 100, 100},   // fits
      {{780, 590, 50, 40}, {0, 0, 800, 600}, 750, 560},   // past the bottom-right corner
      {{-20, -10, 50, 40}, {0, 0, 800, 600}, 0, 0},       // above and left of it
      {{10, 10, 900, 700}, {0, 0, 800, 600}, 0, 0},       // larger than the desktop
      {{1590, 10, 50, 40}, {800, 0, 800, 600}, 1550, 10}, // a desktop not at 0
  };
  for (const Case& c : cases) {
    const Box placed = formrules::KeepOnDesktop(c.popup, c.desktop);
    EXPECT_EQ(c.left, placed.left) << c.popup.left;
    EXPECT_EQ(c.top, placed.top) << c.popup.top;
    EXPECT_EQ(c.popup.width, placed.width);
  }
}

TEST(FormRules, ASavedPlaceIsBroughtOntoTheWorkArea) {
  struct Case { Box window; Box placed; };
  const Box work = {0, 0, 1280, 994};
  const Case cases[] = {
      {{100, 50, 400, 300}, {100, 50, 400, 300}},      // on it already
      {{3000, 2000, 400, 300}, {880, 694, 400, 300}},  // on a monitor since removed
      {{-900, -40, 400, 300}, {0, 0, 400, 300}},
      {{10, 10, 3000, 2000}, {0, 0, 1280, 994}},       // larger than the work area
  };
  for (const Case& c : cases) {
    const Box placed = formrules::BringOnto(c.window, work);
    EXPECT_EQ(c.placed.left, placed.left) << c.window.left;
    EXPECT_EQ(c.placed.top, placed.top) << c.window.left;
    EXPECT_EQ(c.placed.width, placed.width) << c.window.left;
    EXPECT_EQ(c.placed.height, placed.height) << c.window.left;
  }
}

TEST(FormRules, HintOnlyWhenTheCaptionIsCutOff) {
  EXPECT_TRUE(formrules::NeedsHint(235, 200));
  EXPECT_FALSE(formrules::NeedsHint(236, 200));
  EXPECT_TRUE(formrules::NeedsHint(253, 200, 144));  // the room scales: 54 pixels at 150 %
  EXPECT_FALSE(formrules::NeedsHint(254, 200, 144));
}

TEST(FormRules, HelpTextsByContext) {
  EXPECT_EQ("Cleans the cache", formrules::HelpText(100, true, "Cleans the cache"));
  EXPECT_EQ("All available plugins on this system are listed here.", formrules::HelpText(100, false, "x"));
  EXPECT_EQ("Start the cleaning process.", formrules::HelpText(101, false, ""));
  EXPECT_EQ("All saved settings are listed here.", formrules::HelpText(106, false, ""));
  EXPECT_EQ("", formrules::HelpText(0, false, ""));
  EXPECT_EQ("", formrules::HelpText(107, false, ""));
}

TEST(FormRules, AcceleratorIsTheCharacterAfterASingleAmpersand) {
  struct Case { const char* caption; char accelerator; };
  const Case cases[] = {{"C&lean", 'l'}, {"E&xit", 'x'}, {"&C", 'c'}, {"Save && &Go", 'g'},
                        {"None", 0}, {"Trailing&", 0}, {"&&", 0}};
  for (const Case& c : cases) EXPECT_EQ(c.accelerator, formrules::AcceleratorOf(c.caption)) << c.caption;
}

}  // namespace
