#include "startup/ui/LoadOrderModel.h"

#include <gtest/gtest.h>

#include "startup/tests/base/AssertionRecorder.h"

namespace {

using products::stelmar::StartupItem;
using products::stelmar::ui::LoadOrderModel;

LoadOrderModel Model(std::size_t count) {
  std::vector<StartupItem> entries;
  for (std::size_t i = 0; i < count; ++i)
    entries.emplace_back(0, 0, "e" + std::to_string(i), "c:\\p" + std::to_string(i) + ".exe");
  return LoadOrderModel(entries);
}

std::vector<std::string> Names(const LoadOrderModel& model) {
  std::vector<std::string> names;
  for (const StartupItem& e : model.entries()) names.push_back(e.getName());
  return names;
}

TEST(LoadOrderModel, ButtonsFollowTheSelection) {
  struct Case { std::size_t entries; std::vector<int> selected; bool up, down; };
  const Case cases[] = {{1, {0}, false, false}, {3, {}, false, false}, {3, {0}, false, true},
                        {3, {1}, true, true},   {3, {2}, true, false}};
  for (const Case& c : cases) {
    const auto buttons = Model(c.entries).buttons(c.selected);
    EXPECT_EQ(c.up, buttons.up) << c.entries;
    EXPECT_EQ(c.down, buttons.down) << c.entries;
  }
}

TEST(LoadOrderModel, MovesSwapNeighboursAndRowsAreNumberedFromTheTop) {
  LoadOrderModel model = Model(3);
  EXPECT_EQ(0, model.moveUp({1}));
  EXPECT_EQ(std::vector<std::string>({"e1", "e0", "e2"}), Names(model));
  EXPECT_EQ(2, model.moveDown({1}));
  EXPECT_EQ(std::vector<std::string>({"e1", "e2", "e0"}), Names(model));
  EXPECT_EQ(std::vector<std::string>({"1", "e1", "c:\\p1.exe"}), model.row(0));
  EXPECT_EQ("3", model.row(2)[0]);
  // A disabled entry keeps its place and says so.
  LoadOrderModel mixed({StartupItem(0, 1, "kept", "c:\\k.exe"), StartupItem(0, 0, "live", "l")});
  EXPECT_EQ(std::vector<std::string>({"1", "kept (disabled)", "c:\\k.exe"}), mixed.row(0));
  EXPECT_EQ("live", mixed.row(1)[1]);
}

TEST(LoadOrderModel, AMovePastAnEndOrWithoutSelectionIsReportedAndMovesNothing) {
  testing_support::AssertionRecorder assertions;
  LoadOrderModel model = Model(2);
  EXPECT_EQ(-1, model.moveUp({0}));
  EXPECT_EQ(-1, model.moveDown({1}));
  EXPECT_EQ(-1, model.moveUp({}));
  EXPECT_EQ(std::vector<std::string>({"e0", "e1"}), Names(model));
  EXPECT_EQ(std::vector<std::string>(
                {"currentRow > 0", "currentRow < _entries.size()-1", "sr.size() == 1"}),
            assertions.conditions);
}

}  // namespace
