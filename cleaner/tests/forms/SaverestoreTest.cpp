// The help popup TCustomHelpWindow of the real program: what F1 and a help request with
// the mouse show, and where.
#include "cleaner/forms/Saverestore.h"

#include <gtest/gtest.h>

#include "cleaner/tests/forms/HostFixture.h"

namespace {

using namespace harness;
using hostfixture::kTimeoutMs;

class HelpPopup : public hostfixture::HostWindowTest {
 protected:
  void SetUp() override {
    HostWindowTest::SetUp();
    ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path()));
  }
  // The popup once it shows `text`.
  HWND WaitPopup(const Process& morvel, const std::string& text) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
          HWND popup = WaitForWindow(TCustomHelpWindow::kClassName, nullptr, morvel.id(), 200);
          if (popup) seen_ = WindowText(popup);
          if (popup && seen_ == text) found = popup;
          return found != nullptr;
        },
        kTimeoutMs);
    if (!found) ADD_FAILURE() << "the popup showed: " << (seen_.empty() ? "nothing" : seen_);
    return found;
  }
  std::string seen_;
  // The title bar's help button, then a click on a point.
  static bool HelpClick(HWND form, POINT at) {
    SendMessageA(form, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
    return ClickAt(at);
  }
};

TEST_F(HelpPopup, F1TakesTheSelectedEntryThenTheMouseCountsAgain) {
  Process morvel(Program());
  HWND form = MainFormOf(morvel);
  ASSERT_NE(nullptr, form);
  HWND list = GetDlgItem(form, mainform::kCleaningItems);
  ASSERT_TRUE(ClickAt(EntryPoint(list, 3)));  // selects "One"
  ASSERT_TRUE(MoveMouse(EntryPoint(list, 0)));
  ASSERT_TRUE(Xdotool("key F1"));
  HWND popup = WaitPopup(morvel, "Description of One.");
  ASSERT_NE(nullptr, popup);
  RECT entry{}, placed{};
  SendMessageA(list, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&entry));
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&entry), 2);
  GetWindowRect(popup, &placed);
  EXPECT_EQ(entry.right + 5, placed.left);
  EXPECT_EQ(entry.top, placed.top);

  ASSERT_TRUE(HelpClick(form, EntryPoint(list, 1)));
  EXPECT_NE(nullptr, WaitPopup(morvel, "Description of Beta."));
  // Below the last entry there is none.
  RECT client;
  GetClientRect(list, &client);
  POINT below = {40, client.bottom - 4};
  ClientToScreen(list, &below);
  ASSERT_TRUE(HelpClick(form, below));
  EXPECT_NE(nullptr, WaitPopup(morvel, "All available plugins on this system are listed here."));
  ASSERT_TRUE(Xdotool("key Shift"));  // any key closes it
  EXPECT_TRUE(WaitUntil([&] { return !FindWindowA(TCustomHelpWindow::kClassName, nullptr); }, kTimeoutMs));
  PostMessageA(form, WM_CLOSE, 0, 0);
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
}

TEST_F(HelpPopup, F1OnAnotherControlLeavesTheNextListRequestToTheMouse) {
  Process morvel(Program());
  HWND form = MainFormOf(morvel);
  ASSERT_NE(nullptr, form);
  HWND list = GetDlgItem(form, mainform::kCleaningItems);
  ASSERT_TRUE(MoveMouse(CentreOf(GetDlgItem(form, mainform::kCleanBtn))));
  ASSERT_TRUE(Xdotool("key F1"));  // the focus is on "C&lean"
  ASSERT_NE(nullptr, WaitPopup(morvel, "Start the cleaning process."));
  ASSERT_TRUE(HelpClick(form, EntryPoint(list, 1)));
  EXPECT_NE(nullptr, WaitPopup(morvel, "Description of Beta."));
  PostMessageA(form, WM_CLOSE, 0, 0);
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
}

TEST_F(HelpPopup, StaysOnTheDesktopNearItsBottomRightCorner) {
  Process morvel(Program());
  HWND form = MainFormOf(morvel);
  ASSERT_NE(nullptr, form);
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  RECT rect;
  GetWindowRect(form, &rect);
  // Its lower edge a little below the screen's.
  SetWindowPos(form, nullptr, width - (rect.right - rect.left), height - (rect.bottom - rect.top) + 20, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
  HWND exitButton = GetDlgItem(form, mainform::kExitBtn);
  ASSERT_TRUE(HelpClick(form, CentreOf(exitButton)));
  HWND popup = WaitPopup(morvel, "Close the program without cleaning.");
  ASSERT_NE(nullptr, popup);
  RECT placed;
  GetWindowRect(popup, &placed);
  EXPECT_EQ(width, placed.right);
  EXPECT_EQ(height, placed.bottom);
  EXPECT_TRUE(IsWindow(form));  // the click asked for help, it did not exit
  // "&C" has no help of its own.
  ASSERT_TRUE(HelpClick(form, CentreOf(GetDlgItem(form, mainform::kCfgBtn))));
  EXPECT_TRUE(WaitUntil([&] { return !FindWindowA(TCustomHelpWindow::kClassName, nullptr); }, kTimeoutMs));
  EXPECT_EQ(nullptr, FindWindowA("#32770", "Global Options"));
  PostMessageA(form, WM_CLOSE, 0, 0);
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
}

}  // namespace
