// Every window of the suite at the session's display scale: scripts/dpi-tests.sh runs this
// program at 120, 144 and 192 DPI (the Windows tests run it at 96). Each window is laid out
// for the DPI, each caption fits whole in its control (measured in the control's font), and
// a screenshot of each goes to dpi-shots\<dpi>\ beside the program for a person to look at.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cleaner/forms/MainIds.h"
#include "cleaner/forms/Result.h"
#include "common/Dpi.h"
#include "common/Unique.h"
#include "tests/harness/Harness.h"

namespace {

using namespace harness;
constexpr DWORD kTimeoutMs = 60000;
constexpr int kStelmarTree = 302;

// The fonts the windows use: the host's own windows the icon-title font, dialogs the font of
// their template (8 points).
enum class Font { IconTitle, Tahoma, ShellDlg };

class Scales : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { dpi::DeclareAwareness(); }
  void SetUp() override {
    screenDpi_ = dpi::System();
    ASSERT_TRUE(CopyFromBuild("morvel.exe", folder_.path()));
  }
  // The controls whose caption does not fit: one-line captions (buttons) against the width
  // left beside a check mark, wrapped ones (static texts) against the client area.
  std::vector<std::string> CutCaptions(HWND window, Font kind) const {
    std::vector<std::string> cut;
    const win::UniqueGdi font(kind == Font::IconTitle
                                  ? dpi::CreateIconTitleFont(screenDpi_)
                                  : dpi::CreatePointFont(kind == Font::Tahoma ? "Tahoma" : "MS Shell Dlg", 8, screenDpi_));
    const win::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    const win::Selected selected(dc.get(), font.get());
    for (const Control& c : Controls(window)) {
      if (c.text.empty() || !IsWindowVisible(c.hwnd)) continue;
      const bool button = c.className == "Button" || c.className == "TOwnerDrawBtn";
      if (!button && c.className != "Static") continue;
      const LONG type = GetWindowLongA(c.hwnd, GWL_STYLE) & BS_TYPEMASK;
      if (c.className == "Button" && type == BS_GROUPBOX) continue;
      RECT client{};
      GetClientRect(c.hwnd, &client);
      const bool check = c.className == "Button" && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX ||
                                                     type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
      const int room = client.right - (check ? dpi::Metric(SM_CXMENUCHECK, screenDpi_) + dpi::Scale(4, screenDpi_) : 0);
      RECT need = {0, 0, room, 0};
      DrawTextA(dc.get(), c.text.c_str(), -1, &need, DT_CALCRECT | (button ? DT_SINGLELINE : DT_WORDBREAK));
      if (need.right > room || need.bottom > client.bottom)
        cut.push_back(c.text + " needs " + std::to_string(need.right) + "x" + std::to_string(need.bottom) +
                      ", has " + std::to_string(room) + "x" + std::to_string(client.bottom));
    }
    return cut;
  }
  // Every caption whole, and a screenshot of the window for a person to look at.
  void ExpectWhole(HWND window, Font kind, const std::string& name) const {
    EXPECT_EQ(std::vector<std::string>(), CutCaptions(window, kind)) << name << " at " << screenDpi_ << " DPI";
    const std::string folder = BuildFolder() + "dpi-shots\\" + std::to_string(screenDpi_) + "\\";
    CreateDirectoryA((BuildFolder() + "dpi-shots").c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    RECT rect{};
    GetWindowRect(window, &rect);
    const std::string file = UnixPath(folder) + name + ".png";
    EXPECT_TRUE(RunHostTool("import -window root -crop " + std::to_string(rect.right - rect.left) + "x" +
                            std::to_string(rect.bottom - rect.top) + "+" + std::to_string(rect.left) + "+" +
                            std::to_string(rect.top) + " " + file))
        << file;
  }
  HWND Page(HWND sheet) const { return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }

  int screenDpi_ = 96;
  TempFolder folder_;
};

TEST_F(Scales, TheCleanerItsSheetsAndItsResults) {
  ASSERT_TRUE(CopyFromBuild("orvane.vkp", folder_.path()));
  Process morvel("\"" + folder_.path() + "morvel.exe\"");
  HWND form = WaitForWindow(mainform::kClassName, mainform::kTitle, morvel.id(), kTimeoutMs);
  ASSERT_NE(nullptr, form);
  RECT client{};
  GetClientRect(form, &client);
  // The design's client area scaled, grown where the window's minimum size asks for more.
  EXPECT_LE(dpi::Scale(327, screenDpi_), client.right);
  EXPECT_LE(dpi::Scale(282, screenDpi_), client.bottom);
  ASSERT_TRUE(MoveMouse({0, 0}));
  ExpectWhole(form, Font::IconTitle, "main-window");

  // The standard plug-in's sheet, through the list's context menu.
  HWND list = GetDlgItem(form, mainform::kCleaningItems);
  POINT at = {dpi::Scale(40, screenDpi_), static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0)) / 2};
  ClientToScreen(list, &at);
  ASSERT_TRUE(MoveMouse(at) && Xdotool("click 3"));
  ASSERT_NE(nullptr, WaitForWindow("#32768", nullptr, morvel.id(), kTimeoutMs));
  ASSERT_TRUE(Xdotool("key c"));
  HWND sheet = WaitForWindow("#32770", "Standard plug-in configuration", morvel.id(), kTimeoutMs);
  ASSERT_NE(nullptr, sheet);
  for (int page = 0; page < 3; ++page) {
    SendMessageA(sheet, PSM_SETCURSEL, page, 0);
    ExpectWhole(Page(sheet), Font::ShellDlg, "orvane-page" + std::to_string(page + 1));
  }
  PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  ASSERT_TRUE(WaitWindowGone(sheet, kTimeoutMs));

  ASSERT_TRUE(ClickButton(form, "&C"));
  sheet = WaitForWindow("#32770", "Global Options", morvel.id(), kTimeoutMs);
  ASSERT_NE(nullptr, sheet);
  for (int page = 0; page < 2; ++page) {
    SendMessageA(sheet, PSM_SETCURSEL, page, 0);
    ExpectWhole(Page(sheet), Font::Tahoma, "options-page" + std::to_string(page + 1));
  }
  PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  ASSERT_TRUE(WaitWindowGone(sheet, kTimeoutMs));

  ASSERT_TRUE(ClickButton(form, "C&lean"));  // nothing ticked: the results list no item
  HWND results = WaitForWindow(resultform::kClassName, resultform::kCaption, morvel.id(), kTimeoutMs);
  ASSERT_NE(nullptr, results);
  ExpectWhole(results, Font::IconTitle, "results-window");
  ASSERT_TRUE(ClickButton(results, "&Exit"));
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
}

TEST_F(Scales, TheStartupManager) {
  ASSERT_TRUE(CopyFromBuild("stelmar.exe", folder_.path()));
  Process stelmar("\"" + folder_.path() + "stelmar.exe\"");
  HWND dialog = WaitForWindow("#32770", "Stelmar", stelmar.id(), kTimeoutMs);
  ASSERT_NE(nullptr, dialog);
  // The tree's rows hold its images, made at the small-icon size of the DPI.
  EXPECT_GE(SendMessageA(GetDlgItem(dialog, kStelmarTree), TVM_GETITEMHEIGHT, 0, 0),
            dpi::Metric(SM_CYSMICON, screenDpi_));
  ExpectWhole(dialog, Font::ShellDlg, "stelmar");
  ClickButton(dialog, "OK");
  ASSERT_TRUE(stelmar.Wait(kTimeoutMs).ended);
}

}  // namespace
