// The host as a user meets it: the real program in a temporary program folder with test
// plug-ins, its window found by class and title and driven through its controls.
#include <gtest/gtest.h>

#include "cleaner/forms/About.h"
#include "cleaner/forms/MainIds.h"
#include "cleaner/forms/ProgressForm.h"
#include "cleaner/forms/Result.h"
#include "cleaner/forms/Saverestore.h"
#include "common/Ini.h"
#include "cleaner/tests/forms/HostFixture.h"
#include "tests/harness/Harness.h"

namespace {

using namespace harness;
using hostfixture::kTimeoutMs;

class MainWindow : public hostfixture::HostWindowTest {
 protected:
  // Waits for a message box of the program and returns its text.
  HWND WaitMessageBox(const Process& process, const char* title = "Varnick") {
    return WaitForWindow("#32770", title, process.id(), kTimeoutMs);
  }
  std::string MessageText(HWND box) {
    for (const Control& c : Controls(box))
      if (c.className == "Static" && !c.text.empty()) return c.text;
    return "";
  }
};

TEST_F(MainWindow, ListsCaptionsInOrderAndExitSavesTicks) {
  ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path(), "b.vkp"));
  ASSERT_TRUE(CopyFromBuild("test_more.vkp", folder_.path(), "A.vkp"));
  WriteTextFile(Ini(), "[Plugins]\r\nAlpha=1\r\n[MORVEL]\r\nLast setting=\r\n");
  Process morvel(Program());
  ASSERT_TRUE(morvel.started());
  HWND form = MainFormOf(morvel);
  ASSERT_NE(nullptr, form);
  HWND list = GetDlgItem(form, mainform::kCleaningItems);
  EXPECT_EQ(std::vector<std::string>({"Gamma (10.0 MB; 3 items)", "Alpha (2 kB; 2 items)",
                                      "Beta (0 bytes; 0 items)", "Zero (4 kB; 0 items)",
                                      "One (1 bytes; 1 item)"}),
            ListBoxItems(list));
  EXPECT_EQ(1, SendMessageA(list, LB_GETITEMDATA, 1, 0));  // Alpha ticked
  EXPECT_EQ("Total of 2 kB selected to clean", WindowText(GetDlgItem(form, mainform::kLblTtl)));
  EXPECT_EQ("Select items to clean:", WindowText(GetDlgItem(form, mainform::kLabel1)));

  ASSERT_TRUE(ClickButton(form, "E&xit"));
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
  EXPECT_EQ("0", ini::ReadString(Ini(), "Plugins", "Gamma", "?"));
  EXPECT_EQ("1", ini::ReadString(Ini(), "Plugins", "Alpha", "?"));
  EXPECT_EQ("0", ini::ReadString(Ini(), "Plugins", "Beta", "?"));
  EXPECT_EQ("0", ini::ReadString(Ini(), "Plugins", "Zero", "?"));
  EXPECT_EQ("0", ini::ReadString(Ini(), "Plugins", "One", "?"));
  EXPECT_EQ("", ini::ReadString(Ini(), "MORVEL", "Last setting", "?"));
  EXPECT_NE(std::string::npos, ReadTextFile(folder_ / "calls.log").find("more unload\r\nitems unload\r\n"));
}

TEST_F(MainWindow, QuietRunShowsNothingCleansTickedItemsAndWritesNothing) {
  ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path()));
  const std::string settings = "[Weekly]\r\nOne=1\r\nAlpha=1\r\n[Plugins]\r\nBeta=1\r\n";
  WriteTextFile(Ini(), settings);
  Process morvel(Program() + " /Q:Weekly");
  ASSERT_TRUE(morvel.started());
  const ProcessResult result = morvel.Wait(kTimeoutMs);
  ASSERT_TRUE(result.ended);
  EXPECT_EQ("items load\r\nitems clean Alpha\r\nitems clean One\r\nitems unload\r\n",
            ReadTextFile(folder_ / "calls.log"));
  EXPECT_EQ(settings, ReadTextFile(Ini()));
  EXPECT_FALSE(FileExists(folder_ / "formpos.ini"));
}

TEST_F(MainWindow, QuietRunWithAnUnknownPresetCleansNothing) {
  ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path()));
  WriteTextFile(Ini(), "[Plugins]\r\nAlpha=1\r\n");
  Process morvel(Program() + " \"/q:No Such\"");
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
  EXPECT_EQ("items load\r\nitems unload\r\n", ReadTextFile(folder_ / "calls.log"));
}

TEST_F(MainWindow, NoPluginsSaysWhereToGetThemAndEnds) {
  Process morvel(Program());
  HWND box = WaitMessageBox(morvel);
  ASSERT_NE(nullptr, box);
  EXPECT_EQ(0u, MessageText(box).find("No cleaning plug-ins were found. Please download at least one "
                                      "plug-in to use Varnick. They can be found at "));
  ASSERT_TRUE(ClickButton(box, "OK"));
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
}

TEST_F(MainWindow, BadColourIsReportedAndTheWindowOpensEmpty) {
  ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path()));
  const std::string settings =
      "[morvel]\r\nFrameColor=navy\r\nLast setting=Weekly\r\n[Plugins]\r\nAlpha=1\r\n";
  WriteTextFile(Ini(), settings);
  Process morvel(Program());
  HWND box = WaitMessageBox(morvel);
  ASSERT_NE(nullptr, box);
  EXPECT_EQ("'navy' is not a valid integer value", MessageText(box));
  ASSERT_TRUE(ClickButton(box, "OK"));
  HWND form = MainFormOf(morvel);
  ASSERT_NE(nullptr, form);
  EXPECT_TRUE(ListBoxItems(GetDlgItem(form, mainform::kCleaningItems)).empty());
  EXPECT_EQ("", ReadTextFile(folder_ / "calls.log"));
  PostMessageA(form, WM_CLOSE, 0, 0);
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
  // Nothing was loaded, so nothing the user had saved is overwritten.
  EXPECT_EQ(settings, ReadTextFile(Ini()));
}

TEST_F(MainWindow, HiddenItemsOfferARestartThatShowsThemAll) {
  ASSERT_TRUE(CopyFromBuild("test_empty.vkp", folder_.path()));
  WriteTextFile(Ini(), "[morvel]\r\nHideItems=1\r\n");
  {
    Process morvel(Program());
    HWND box = WaitMessageBox(morvel);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ("All entries have zero items or no plug-ins are found. Should Varnick restart "
              "without hiding entries?",
              MessageText(box));
    ASSERT_TRUE(ClickButton(box, "&No"));
    ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
    EXPECT_EQ("1", ini::ReadString(Ini(), "morvel", "HideItems", "?"));
  }
  Process morvel(Program());
  HWND box = WaitMessageBox(morvel);
  ASSERT_NE(nullptr, box);
  ASSERT_TRUE(ClickButton(box, "&Yes"));
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
  EXPECT_EQ("0", ini::ReadString(Ini(), "morvel", "HideItems", "?"));
  // The new instance finds nothing to show either, now without hiding: it says so.
  HWND again = WaitForWindow("#32770", "Varnick", 0, kTimeoutMs);
  ASSERT_NE(nullptr, again);
  EXPECT_EQ(0u, MessageText(again).find("No cleaning plug-ins were found."));
  ClickButton(again, "OK");
  WaitWindowGone(again, kTimeoutMs);
}

TEST_F(MainWindow, CleanRunsTickedItemsShowsResultsAndExitEnds) {
  ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path()));
  WriteTextFile(Ini(), "[Plugins]\r\nAlpha=1\r\nOne=1\r\n");
  WriteTextFile(folder_ / "slow-clean", "");  // each item takes 1.5 seconds
  Process morvel(Program());
  HWND form = MainFormOf(morvel);
  ASSERT_NE(nullptr, form);
  ASSERT_TRUE(ClickButton(form, "C&lean"));
  // After a second the run shows where it is; the texts are read without a message, which
  // the busy program would answer only later.
  HWND progressWindow =
      WaitForWindow(progressform::kProgressClassName, progressform::kProgressTitle, morvel.id(), kTimeoutMs);
  ASSERT_NE(nullptr, progressWindow);
  const auto text = [&](int id) {
    char buffer[200] = "";
    GetWindowTextA(GetDlgItem(progressWindow, id), buffer, sizeof buffer);
    return std::string(buffer);
  };
  EXPECT_EQ("Cleaning: One (1 bytes; 1 item)", text(progressform::kItemLabel));
  EXPECT_EQ("Removed so far: 2 items, 2 kB", text(progressform::kRemovedLabel));
  EXPECT_FALSE(IsWindowEnabled(form));
  HWND results = WaitForWindow(resultform::kClassName, resultform::kCaption, morvel.id(), kTimeoutMs);
  ASSERT_NE(nullptr, results);
  EXPECT_FALSE(IsWindowVisible(form));
  EXPECT_EQ("Varnick results:", WindowText(GetDlgItem(results, resultform::kHeadingLabel)));
  EXPECT_EQ("Alpha (2 kB; 2 items): cleaned 2 kB in 2 items.\r\n"
            "One (1 bytes; 1 item): cleaned 1 bytes in 1 item.\r\n"
            "\r\n"
            "Scheduled 0 file(s) for removal on reboot.\r\n"
            "\r\n"
            "Cleaned total of 2 kB in 3 items.",
            WindowText(GetDlgItem(results, resultform::kResult)));
  ASSERT_TRUE(ClickButton(results, "&Exit"));
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
  EXPECT_EQ("items load\r\nitems clean Alpha\r\nitems clean One\r\nitems unload\r\n",
            ReadTextFile(folder_ / "calls.log"));
  EXPECT_EQ("1", ini::ReadString(Ini(), "Plugins", "One", "?"));
}

TEST_F(MainWindow, BackAfterCleaningNothingStartsAFreshInstance) {
  ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path()));
  Process morvel(Program());
  HWND form = MainFormOf(morvel);
  ASSERT_NE(nullptr, form);
  ASSERT_TRUE(ClickButton(form, "C&lean"));
  HWND results = WaitForWindow(resultform::kClassName, resultform::kCaption, morvel.id(), kTimeoutMs);
  ASSERT_NE(nullptr, results);
  EXPECT_EQ("\r\nScheduled 0 file(s) for removal on reboot.\r\n\r\nCleaned total of 0 bytes in 0 items.",
            WindowText(GetDlgItem(results, resultform::kResult)));
  ASSERT_TRUE(ClickButton(results, "&Back"));
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
  HWND fresh = WaitForWindow(mainform::kClassName, mainform::kTitle, 0, kTimeoutMs);
  ASSERT_NE(nullptr, fresh);
  EXPECT_EQ(4u, ListBoxItems(GetDlgItem(fresh, mainform::kCleaningItems)).size());
  PostMessageA(fresh, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitWindowGone(fresh, kTimeoutMs));
  EXPECT_EQ("items load\r\nitems unload\r\nitems load\r\nitems unload\r\n",
            ReadTextFile(folder_ / "calls.log"));
}

TEST_F(MainWindow, SaveAsRefusesReservedNamesThenStoresThePreset) {
  ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path()));
  WriteTextFile(Ini(), "[Plugins]\r\nAlpha=1\r\n");
  Process morvel(Program());
  HWND form = MainFormOf(morvel);
  ASSERT_NE(nullptr, form);
  ASSERT_TRUE(ClickButton(form, "&Save as..."));
  HWND prompt = WaitForWindow("#32770", mainform::kSaveSettingCaption, morvel.id(), kTimeoutMs);
  ASSERT_NE(nullptr, prompt);
  EXPECT_EQ(mainform::kSaveSettingPrompt, WindowText(GetDlgItem(prompt, IDC_INPUT_PROMPT)));
  SendMessageA(GetDlgItem(prompt, IDC_INPUT_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Plugins"));
  ASSERT_TRUE(ClickButton(prompt, "OK"));
  HWND inUse = WaitForWindow("#32770", mainform::kNameInUseCaption, morvel.id(), kTimeoutMs);
  ASSERT_NE(nullptr, inUse);
  EXPECT_EQ(mainform::kNameInUse, MessageText(inUse));
  ASSERT_TRUE(ClickButton(inUse, "OK"));
  ASSERT_TRUE(WaitWindowGone(prompt, kTimeoutMs));
  prompt = WaitForWindow("#32770", mainform::kSaveSettingCaption, morvel.id(), kTimeoutMs);
  ASSERT_NE(nullptr, prompt);
  SendMessageA(GetDlgItem(prompt, IDC_INPUT_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Week 1"));
  ASSERT_TRUE(ClickButton(prompt, "OK"));
  ASSERT_TRUE(WaitUntil([&] { return ini::ReadRawString(Ini(), "MORVEL", "SavedSettings", "?") != "?"; },
                        kTimeoutMs));
  EXPECT_EQ("\"Week 1\"", ini::ReadRawString(Ini(), "MORVEL", "SavedSettings", "?"));
  EXPECT_EQ("1", ini::ReadString(Ini(), "Week 1", "Alpha", "?"));
  ASSERT_TRUE(ClickButton(form, "E&xit"));
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
  EXPECT_EQ("Week 1", ini::ReadString(Ini(), "MORVEL", "Last setting", "?"));
}

TEST_F(MainWindow, ContextMenuConfiguresTheEntryUnderTheMouseOnly) {
  ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path()));
  Process morvel(Program());
  HWND form = MainFormOf(morvel);
  ASSERT_NE(nullptr, form);
  HWND list = GetDlgItem(form, mainform::kCleaningItems);
  auto rightClick = [&](int index) {
    RECT rect{};
    SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
    const LPARAM at = MAKELPARAM(40, index < 0 ? 100 : rect.top + 2);
    PostMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, at);
  };
  auto chooseConfigure = [&] {
    HWND menu = WaitForWindow("#32768", nullptr, morvel.id(), kTimeoutMs);
    if (!menu) return false;
    // Closing the menu leaves the remembered entry; the command then acts on it.
    PressKey(menu, VK_ESCAPE);
    WaitWindowGone(menu, kTimeoutMs);
    PostMessageA(form, WM_COMMAND, mainform::kMenuConfigure, 0);
    return true;
  };
  rightClick(3);  // "One" has settings
  ASSERT_TRUE(chooseConfigure());
  ASSERT_TRUE(WaitUntil([&] { return ReadTextFile(folder_ / "calls.log").find("configure") != std::string::npos; },
                        kTimeoutMs));
  rightClick(0);  // "Alpha" has none: nothing is called
  ASSERT_TRUE(chooseConfigure());
  rightClick(-1);  // below the last entry: no menu
  PostMessageA(form, WM_COMMAND, mainform::kMenuSelectAll, 0);
  ASSERT_TRUE(WaitUntil([&] { return SendMessageA(list, LB_GETITEMDATA, 2, 0) == 1; }, kTimeoutMs));
  PostMessageA(form, WM_COMMAND, mainform::kMenuInvert, 0);
  ASSERT_TRUE(WaitUntil([&] { return SendMessageA(list, LB_GETITEMDATA, 2, 0) == 0; }, kTimeoutMs));
  EXPECT_EQ("Total of 0 bytes selected to clean", WindowText(GetDlgItem(form, mainform::kLblTtl)));
  ASSERT_TRUE(ClickButton(form, "E&xit"));
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
  EXPECT_EQ("items load\r\nitems configure One\r\nitems unload\r\n", ReadTextFile(folder_ / "calls.log"));
}

TEST_F(MainWindow, KeepsItsPlaceInFormpos) {
  ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path()));
  WriteTextFile(folder_ / "formpos.ini", "[MainForm]\r\nWidth=500\r\nHeight=abc\r\n");
  Process morvel(Program());
  HWND form = MainFormOf(morvel);
  ASSERT_NE(nullptr, form);
  RECT rect;
  GetWindowRect(form, &rect);
  EXPECT_EQ(500, rect.right - rect.left);
  const int height = rect.bottom - rect.top;
  EXPECT_GE(height, 313);
  SetWindowPos(form, nullptr, 20, 30, 600, 400, SWP_NOZORDER);
  ASSERT_TRUE(ClickButton(form, "E&xit"));
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
  const std::string positions = folder_ / "formpos.ini";
  EXPECT_EQ("30", ini::ReadString(positions, "MainForm", "Top", "?"));
  EXPECT_EQ("20", ini::ReadString(positions, "MainForm", "Left", "?"));
  EXPECT_EQ("600", ini::ReadString(positions, "MainForm", "Width", "?"));
  EXPECT_EQ("400", ini::ReadString(positions, "MainForm", "Height", "?"));
}

TEST_F(MainWindow, APlaceOffEveryScreenIsBroughtOntoTheWorkArea) {
  ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path()));
  RECT work{};
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  const char* const places[] = {"Left=5000\r\nTop=4000", "Left=-3000\r\nTop=-60",
                                "Left=10\r\nTop=10\r\nWidth=9000\r\nHeight=7000"};
  for (const char* place : places) {
    WriteTextFile(folder_ / "formpos.ini", std::string("[MainForm]\r\n") + place + "\r\n");
    Process morvel(Program());
    HWND form = MainFormOf(morvel);
    ASSERT_NE(nullptr, form) << place;
    RECT rect{};
    GetWindowRect(form, &rect);
    EXPECT_GE(rect.left, work.left) << place;
    EXPECT_GE(rect.top, work.top) << place;
    EXPECT_LE(rect.right, work.right) << place;
    EXPECT_LE(rect.bottom, work.bottom) << place;
    PostMessageA(form, WM_CLOSE, 0, 0);
    ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
  }
}

TEST_F(MainWindow, KeysCleanOnlyWhenTheUserPutTheFocusOnClean) {
  ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path()));
  WriteTextFile(Ini(), "[Plugins]\r\nAlpha=1\r\n");
  Process morvel(Program());
  HWND form = MainFormOf(morvel);
  ASSERT_NE(nullptr, form);
  HWND clean = GetDlgItem(form, mainform::kCleanBtn);
  HWND about = GetDlgItem(form, mainform::kAboutBtn);
  ASSERT_TRUE(MoveMouse(CentreOf(GetDlgItem(form, mainform::kLabel1))));
  // The focus "C&lean" has from the start: Space and Enter do nothing, Tab moves on.
  ASSERT_TRUE(Xdotool("key space Return Tab"));
  ASSERT_TRUE(WaitUntil([&] { return (StateOf(about) & Focused) != 0; }, kTimeoutMs));
  // Its accelerator only puts the focus there.
  ASSERT_TRUE(Xdotool("key alt+l"));
  ASSERT_TRUE(WaitUntil([&] { return (StateOf(clean) & Focused) != 0; }, kTimeoutMs));
  EXPECT_EQ(nullptr, FindWindowA(resultform::kClassName, nullptr));
  EXPECT_EQ("items load\r\n", ReadTextFile(folder_ / "calls.log"));
  ASSERT_TRUE(Xdotool("key Return"));  // now the user's choice
  HWND results = WaitForWindow(resultform::kClassName, resultform::kCaption, morvel.id(), kTimeoutMs);
  ASSERT_NE(nullptr, results);
  ASSERT_TRUE(ClickButton(results, "&Exit"));
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
  EXPECT_EQ("items load\r\nitems clean Alpha\r\nitems unload\r\n", ReadTextFile(folder_ / "calls.log"));
}

TEST_F(MainWindow, AboutBoxClosesOnAnyKey) {
  ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path()));
  Process morvel(Program());
  HWND form = MainFormOf(morvel);
  ASSERT_NE(nullptr, form);
  ASSERT_TRUE(ClickButton(form, "&About"));
  HWND about = WaitForWindow(aboutbox::kClassName, aboutbox::kProduct, morvel.id(), kTimeoutMs);
  ASSERT_NE(nullptr, about);
  EXPECT_FALSE(IsWindowEnabled(form));
  EXPECT_EQ(0, GetWindowLongA(about, GWL_STYLE) & (WS_BORDER | WS_THICKFRAME | WS_DLGFRAME));
  PressKey(about, 'A');
  ASSERT_TRUE(WaitWindowGone(about, kTimeoutMs));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(form) != FALSE; }, kTimeoutMs));
  ASSERT_TRUE(ClickButton(form, "E&xit"));
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
}

TEST_F(MainWindow, EscapeLeavesThroughTheShutDownSteps) {
  ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path()));
  Process morvel(Program());
  HWND form = MainFormOf(morvel);
  ASSERT_NE(nullptr, form);
  PressKey(GetDlgItem(form, mainform::kCleanBtn), VK_ESCAPE);
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
  EXPECT_EQ("0", ini::ReadString(Ini(), "Plugins", "Alpha", "?"));
}

}  // namespace

namespace {

TEST_F(MainWindow, ACaptionCutOffShowsItsHintAtOnceOneThatFitsShowsNone) {
  ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path()));
  CreateDirectoryA((folder_ / "plug-ins").c_str(), nullptr);
  WriteTextFile(folder_ / "plug-ins\\long.vkt",
                "[Info]\r\nTitle=A text plug-in whose title is far too long for a narrow window\r\n");
  Process morvel(Program());
  HWND form = MainFormOf(morvel);
  ASSERT_NE(nullptr, form);
  SetWindowPos(form, nullptr, 0, 0, 334, 313, SWP_NOMOVE | SWP_NOZORDER);
  HWND list = GetDlgItem(form, mainform::kCleaningItems);
  const std::vector<std::string> captions = ListBoxItems(list);
  ASSERT_EQ(5u, captions.size());
  ASSERT_TRUE(MoveMouse(EntryPoint(list, 4)));
  HWND hint = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (hint = FindWindowA(THintWindow::kClassName, nullptr)) && IsWindowVisible(hint); },
                        kTimeoutMs));
  EXPECT_EQ(captions[4], WindowText(hint));
  RECT row{}, placed{};
  SendMessageA(list, LB_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&row));
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&row), 2);
  GetWindowRect(hint, &placed);
  EXPECT_EQ(row.left + 34, placed.left);
  EXPECT_EQ(row.top, placed.top);
  // A click on the hint is a click on the row beneath: it selects the entry and takes the
  // focus to the list, so that Space ticks the entry instead of cleaning.
  ASSERT_TRUE(ClickAt({(placed.left + placed.right) / 2, (placed.top + placed.bottom) / 2}));
  EXPECT_TRUE(WaitUntil([&] { return SendMessageA(list, LB_GETCURSEL, 0, 0) == 4; }, kTimeoutMs));
  ASSERT_TRUE(Xdotool("key space"));
  EXPECT_TRUE(WaitUntil([&] { return SendMessageA(list, LB_GETITEMDATA, 4, 0) == 1; }, kTimeoutMs));
  EXPECT_TRUE(IsWindowVisible(form));
  ASSERT_TRUE(MoveMouse(EntryPoint(list, 0)));  // "Alpha (2 kB; 2 items)" fits
  EXPECT_TRUE(WaitUntil([] { return FindWindowA(THintWindow::kClassName, nullptr) == nullptr; }, kTimeoutMs));
  PostMessageA(form, WM_CLOSE, 0, 0);
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
}

}  // namespace
