// Presets against a real settings file, with the real test plug-in's items in the list.
#include "cleaner/host/Presets.h"

#include <gtest/gtest.h>

#include "cleaner/host/Host.h"
#include "common/Ini.h"
#include "tests/harness/Harness.h"

namespace {

using V = std::vector<std::string>;

class Presets : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(harness::CopyFromBuild("test_items.vkp", folder_.path())); }
  void Start(const std::string& settings) {
    harness::WriteTextFile(Ini(), settings);
    host_.ParseCommandLine("morvel.exe");
    std::string error;
    ASSERT_TRUE(host_.ReadSettings(error));
    host_.LoadPluginsAndFill();
    box_.LoadPresetNames(Ini());
  }
  std::string Ini() const { return folder_ / "Morvel.ini"; }
  std::vector<bool> Ticks() {
    std::vector<bool> ticks;
    for (const ListEntry& e : host_.list().entries()) ticks.push_back(e.ticked);
    return ticks;
  }
  harness::TempFolder folder_;
  Host host_{folder_.path()};
  PresetBox box_;
};

TEST_F(Presets, BoxSortsWithoutRegardToCaseAndSelectsTheLastSetting) {
  Start("[MORVEL]\r\nSavedSettings=b,\"A c\",a\r\nLast Setting=B\r\n");
  EXPECT_EQ(V({"a", "A c", "b"}), box_.names());
  EXPECT_EQ("b", box_.SelectedName());
}

TEST_F(Presets, SavingStoresTicksNamesAndThePreviousSelection) {
  Start("[MORVEL]\r\nSavedSettings=Daily\r\nLast setting=Daily\r\n[Daily]\r\nBeta=1\r\n");
  EXPECT_EQ(std::vector<bool>({false, true, false, false}), Ticks());
  host_.list().entries()[0].ticked = true;
  bool asked = false;
  EXPECT_EQ(presets::SaveOutcome::Stored,
            presets::SavePreset(host_.list(), box_, Ini(), "My week, too", [&] { return asked = true; }));
  EXPECT_FALSE(asked);
  EXPECT_EQ("1", ini::ReadString(Ini(), "My week, too", "Alpha", "?"));
  EXPECT_EQ("1", ini::ReadString(Ini(), "My week, too", "Beta", "?"));
  EXPECT_EQ("0", ini::ReadString(Ini(), "My week, too", "One", "?"));
  EXPECT_EQ("Daily", ini::ReadString(Ini(), "MORVEL", "Last setting", "?"));
  EXPECT_EQ("Daily,\"My week, too\"", ini::ReadRawString(Ini(), "MORVEL", "SavedSettings", "?"));
  EXPECT_EQ("My week, too", box_.SelectedName());

  // Saving the same name in another case asks, and a No stores nothing.
  host_.list().entries()[3].ticked = true;
  EXPECT_EQ(presets::SaveOutcome::Declined,
            presets::SavePreset(host_.list(), box_, Ini(), "MY WEEK, TOO", [&] { return false; }));
  EXPECT_EQ("0", ini::ReadString(Ini(), "My week, too", "One", "?"));
  EXPECT_EQ(presets::SaveOutcome::Stored,
            presets::SavePreset(host_.list(), box_, Ini(), "MY WEEK, TOO", [&] { return true; }));
  EXPECT_EQ("1", ini::ReadString(Ini(), "My week, too", "One", "?"));
  EXPECT_EQ(V({"Daily", "My week, too"}), box_.names());
}

TEST_F(Presets, ANameWithBlanksSurvivesARestart) {
  Start("[MORVEL]\r\nLast setting=\r\n");
  ASSERT_EQ(presets::SaveOutcome::Stored,
            presets::SavePreset(host_.list(), box_, Ini(), "Week 1", [] { return true; }));
  PresetBox again;
  again.LoadPresetNames(Ini());
  EXPECT_EQ(V({"Week 1"}), again.names());
}

TEST_F(Presets, ChoosingANameTicksFromItsSection) {
  Start("[MORVEL]\r\nSavedSettings=Daily,Gone\r\n[Plugins]\r\nZero=1\r\n[Daily]\r\nBeta=1\r\nOne=7\r\n");
  box_.Select(box_.Find("daily"));
  presets::ApplySelected(host_.list(), box_, Ini());
  EXPECT_EQ(std::vector<bool>({false, true, false, true}), Ticks());
  // A preset whose section is gone unticks everything.
  box_.Select(box_.Find("Gone"));
  presets::ApplySelected(host_.list(), box_, Ini());
  EXPECT_EQ(std::vector<bool>({false, false, false, false}), Ticks());
}

TEST_F(Presets, RemovingErasesTheSectionAndTheNameSoTheNextStartUsesPlugins) {
  Start("[MORVEL]\r\nSavedSettings=Daily,Weekly\r\nLast setting=Weekly\r\n[Weekly]\r\nAlpha=1\r\n"
        "[Plugins]\r\nOne=1\r\n");
  EXPECT_EQ("Weekly", box_.SelectedName());
  ASSERT_TRUE(presets::RemoveSelected(box_, Ini()));
  EXPECT_EQ(V({"Daily"}), box_.names());
  EXPECT_EQ(-1, box_.selected());
  EXPECT_FALSE(ini::SectionExists(Ini(), "Weekly"));
  EXPECT_EQ("Daily", ini::ReadString(Ini(), "MORVEL", "SavedSettings", "?"));
  EXPECT_FALSE(presets::RemoveSelected(box_, Ini()));  // nothing selected: nothing happens

  std::string failed;
  ASSERT_TRUE(host_.SaveTicks(box_.SelectedName(), failed));
  EXPECT_EQ("", ini::ReadString(Ini(), "MORVEL", "Last setting", "?"));
  Host next(folder_.path());
  next.ParseCommandLine("morvel.exe");
  next.LoadPluginsAndFill();
  EXPECT_TRUE(next.list().entries()[0].ticked);  // "Plugins" now holds the last ticks
}

}  // namespace

namespace {

TEST_F(Presets, SaveAsAsksAgainUntilANameIsStoredOrTheUserCancels) {
  Start("[MORVEL]\r\nSavedSettings=Daily\r\n[Plugins]\r\nAlpha=1\r\n");
  std::vector<std::string> answers = {"", "Plugins", "Daily", "Weekly"};
  std::string told;
  presets::SaveAsDialogs dialogs;
  dialogs.askName = [&](std::string& name) {
    if (answers.empty()) return false;
    name = answers.front();
    answers.erase(answers.begin());
    return true;
  };
  dialogs.nameInUse = [&] { told += "in use;"; };
  dialogs.confirmOverwrite = [&] { told += "overwrite?;"; return false; };
  dialogs.writeFailed = [&] { told += "failed;"; };
  EXPECT_TRUE(presets::SaveAs(host_.list(), box_, Ini(), dialogs));
  EXPECT_EQ("in use;overwrite?;", told);
  EXPECT_EQ(V({"Daily", "Weekly"}), box_.names());
  EXPECT_EQ("1", ini::ReadString(Ini(), "Weekly", "Alpha", "?"));
  // Cancelled at once: nothing changes.
  EXPECT_FALSE(presets::SaveAs(host_.list(), box_, Ini(), dialogs));
}

TEST_F(Presets, TickOperationsWorkOnTheListModel) {
  Start("[Plugins]\r\nAlpha=1\r\nOne=1\r\n");
  EXPECT_EQ(std::vector<bool>({true, false, false, true}), Ticks());
  host_.list().InvertSelection();
  EXPECT_EQ(std::vector<bool>({false, true, true, false}), Ticks());
  EXPECT_TRUE(host_.list().ToggleTick(3));
  EXPECT_FALSE(host_.list().ToggleTick(4));
  EXPECT_FALSE(host_.list().ToggleTick(-1));
  EXPECT_EQ(std::vector<bool>({false, true, true, true}), Ticks());
  host_.list().SelectAll();
  EXPECT_EQ(std::vector<bool>({true, true, true, true}), Ticks());
}

}  // namespace
