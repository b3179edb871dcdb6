// The host's owner-drawn buttons under real mouse and key input: their states, their
// colours read back from screenshots, and which button Enter and Escape press.
#include "cleaner/forms/Ownerdrawbtn.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "cleaner/forms/Result.h"
#include "cleaner/tests/forms/HostFixture.h"
#include "common/Ini.h"
#include "common/Unique.h"

namespace {

using namespace harness;
using hostfixture::kTimeoutMs;

constexpr COLORREF kNormal = 0x00113355, kOver = 0x00117755, kDown = 0x001133AA, kBorder = 0x0000CCCC,
                   kFrame = 0x00800000;
const char* const kColours =
    "[morvel]\r\nBtnClrNormal=0x00113355\r\nBtnClrMouseOver=0x00117755\r\nBtnClrLBtnDown=0x001133AA\r\n"
    "BtnClrBorder=0x0000CCCC\r\nFrameColor=0x00800000\r\n";

class Ownerdrawbtn : public hostfixture::HostWindowTest {
 protected:
  void SetUp() override {
    HostWindowTest::SetUp();
    ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path()));
  }
  // Waits until the button's border (its corner) and face (inside its border) show these
  // colours on the screen; "" then, else what the screen showed.
  static std::string WaitForLook(HWND button, COLORREF border, COLORREF face, int faceAt = 3) {
    std::string seen = "no screenshot";
    const bool shown = WaitUntil(
        [&] {
          RECT rect;
          GetWindowRect(button, &rect);
          const Screenshot shot = TakeScreenshot(rect);
          if (shot.width <= faceAt) return false;
          if (shot.At(0, 0) == border && shot.At(faceAt, faceAt) == face) return true;
          char text[64];
          std::snprintf(text, sizeof text, "border %06lX face %06lX", shot.At(0, 0), shot.At(faceAt, faceAt));
          seen = text;
          return false;
        },
        kTimeoutMs);
    return shown ? "" : seen;
  }
  // Leaves the pointer over the window's label, away from every button.
  static bool MouseToLabel(HWND form) { return MoveMouse(CentreOf(GetDlgItem(form, mainform::kLabel1))); }
};

TEST_F(Ownerdrawbtn, StatesThroughPressLeaveAndComeBackInTheConfiguredColours) {
  WriteTextFile(Ini(), kColours);
  Process morvel(Program());
  HWND form = MainFormOf(morvel);
  ASSERT_NE(nullptr, form);
  HWND clean = GetDlgItem(form, mainform::kCleanBtn);
  HWND about = GetDlgItem(form, mainform::kAboutBtn);
  ASSERT_TRUE(MouseToLabel(form));
  ASSERT_TRUE(WaitState(clean, IsDefault | Focused));
  EXPECT_EQ("", WaitForLook(clean, kFrame, kNormal));
  EXPECT_EQ("", WaitForLook(about, kBorder, kNormal));

  ASSERT_TRUE(MoveMouse(CentreOf(about)));
  ASSERT_TRUE(WaitState(about, MouseOver));
  EXPECT_EQ("", WaitForLook(about, kBorder, kOver));

  ASSERT_TRUE(Xdotool("mousedown 1"));
  ASSERT_TRUE(WaitState(about, Pressed | MouseOver | IsDefault | Focused));
  EXPECT_EQ("", WaitForLook(about, kFrame, kDown));
  EXPECT_TRUE(WaitState(clean, 0));  // the focused button is the default now

  ASSERT_TRUE(MouseToLabel(form));  // leaves with the button held
  ASSERT_TRUE(WaitState(about, IsDefault | Focused));
  EXPECT_EQ("", WaitForLook(about, kFrame, kNormal));
  ASSERT_TRUE(MoveMouse(CentreOf(about)));  // comes back, still held
  ASSERT_TRUE(WaitState(about, Pressed | MouseOver | IsDefault | Focused));

  ASSERT_TRUE(MouseToLabel(form));
  ASSERT_TRUE(Xdotool("mouseup 1"));  // released elsewhere: no click
  ASSERT_TRUE(WaitState(about, IsDefault | Focused));
  // The focus in the list makes "C&lean" the default again.
  ASSERT_TRUE(ClickAt(EntryPoint(GetDlgItem(form, mainform::kCleaningItems), 0)));
  ASSERT_TRUE(WaitState(clean, IsDefault));
  EXPECT_TRUE(WaitState(about, 0));
  EXPECT_EQ(nullptr, FindWindowA("TAboutBox", nullptr));
  PostMessageA(form, WM_CLOSE, 0, 0);
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
}

TEST_F(Ownerdrawbtn, DefaultButtonsGiveTheStandardLook) {
  WriteTextFile(Ini(), std::string(kColours) + "DefaultButtons=1\r\n");
  Process morvel(Program());
  HWND form = MainFormOf(morvel);
  ASSERT_NE(nullptr, form);
  ASSERT_TRUE(MouseToLabel(form));
  // The standard push button: a light top-left edge, the face colour inside.
  for (int id : {mainform::kAboutBtn, mainform::kSaveCfg, mainform::kCfgBtn})
    EXPECT_EQ("", WaitForLook(GetDlgItem(form, id), GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNFACE), 4))
        << id;
  PostMessageA(form, WM_CLOSE, 0, 0);
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
}

TEST_F(Ownerdrawbtn, EnterPressesTheFocusedButtonNeverCleanFromTheListAndEscapeLeaves) {
  WriteTextFile(Ini(), "[MORVEL]\r\nSavedSettings=A,B\r\nLast setting=A\r\n[A]\r\nAlpha=1\r\n[B]\r\n");
  Process morvel(Program());
  HWND form = MainFormOf(morvel);
  ASSERT_NE(nullptr, form);
  HWND remove = GetDlgItem(form, mainform::kRmCfg);
  // Pressed on "&Remove" and released elsewhere: the focus stays on it, nothing is clicked.
  ASSERT_TRUE(MoveMouse(CentreOf(remove)));
  ASSERT_TRUE(Xdotool("mousedown 1"));
  ASSERT_TRUE(WaitState(remove, Pressed | MouseOver | IsDefault | Focused));
  ASSERT_TRUE(MoveMouse(CentreOf(GetDlgItem(form, mainform::kLabel1))));
  ASSERT_TRUE(Xdotool("mouseup 1"));
  ASSERT_TRUE(WaitState(remove, IsDefault | Focused));
  EXPECT_EQ("A,B", ini::ReadRawString(Ini(), "MORVEL", "SavedSettings", "?"));

  ASSERT_TRUE(Xdotool("key Return"));  // presses "&Remove", not "C&lean"
  ASSERT_TRUE(WaitUntil([&] { return ini::ReadRawString(Ini(), "MORVEL", "SavedSettings", "?") == "B"; },
                        kTimeoutMs));
  EXPECT_EQ(nullptr, FindWindowA(resultform::kClassName, nullptr));
  EXPECT_EQ(std::string::npos, ReadTextFile(folder_ / "calls.log").find("clean"));

  ASSERT_TRUE(ClickAt(EntryPoint(GetDlgItem(form, mainform::kCleaningItems), 1)));
  ASSERT_TRUE(WaitState(GetDlgItem(form, mainform::kCleanBtn), IsDefault));
  // From the list Enter does not clean (a key cleans only on "C&lean" chosen by the user).
  ASSERT_TRUE(Xdotool("key Return Tab"));
  ASSERT_TRUE(WaitUntil(
      [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info) &&
               info.hwndFocus == GetDlgItem(form, mainform::kSettingsBox);
      },
      kTimeoutMs));
  EXPECT_EQ(std::string::npos, ReadTextFile(folder_ / "calls.log").find("clean"));
  ASSERT_TRUE(ClickAt(CentreOf(GetDlgItem(form, mainform::kCleanBtn))));
  HWND results = WaitForWindow(resultform::kClassName, resultform::kCaption, morvel.id(), kTimeoutMs);
  ASSERT_NE(nullptr, results);
  // Its frame Shape1, in FrameColor, runs 8 pixels inside the left edge.
  EXPECT_TRUE(WaitUntil(
      [&] {
        RECT client;
        GetClientRect(results, &client);
        MapWindowPoints(results, nullptr, reinterpret_cast<POINT*>(&client), 2);
        const Screenshot shot = TakeScreenshot(client);
        return shot.width > 10 && shot.At(8, 40) == 0x00800000 && shot.At(7, 40) != 0x00800000;
      },
      kTimeoutMs));
  ASSERT_TRUE(MoveMouse(CentreOf(GetDlgItem(results, resultform::kResult))));
  ASSERT_TRUE(Xdotool("key Escape"));
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
  EXPECT_EQ("items load\r\nitems clean Alpha\r\nitems unload\r\n", ReadTextFile(folder_ / "calls.log"));
}

TEST_F(Ownerdrawbtn, EscapeLeavesTheMainWindowAndAcceleratorsClick) {
  Process morvel(Program());
  HWND form = MainFormOf(morvel);
  ASSERT_NE(nullptr, form);
  ASSERT_TRUE(MoveMouse(CentreOf(GetDlgItem(form, mainform::kLabel1))));
  ASSERT_TRUE(Xdotool("key alt+a"));  // "&About"
  HWND about = WaitForWindow("TAboutBox", nullptr, morvel.id(), kTimeoutMs);
  ASSERT_NE(nullptr, about);
  ASSERT_TRUE(Xdotool("key space"));
  ASSERT_TRUE(WaitWindowGone(about, kTimeoutMs));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(form) != FALSE; }, kTimeoutMs));
  ASSERT_TRUE(Xdotool("key Escape"));
  ASSERT_TRUE(morvel.Wait(kTimeoutMs).ended);
  EXPECT_EQ("0", ini::ReadString(Ini(), "Plugins", "Alpha", "?"));
}

}  // namespace

namespace {

// The control in this process, on a window that counts the clicks it hears.
class OwnerdrawbtnControl : public ::testing::Test {
 protected:
  static LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) ++clicks_;
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "OwnerdrawbtnTestParent";
    RegisterClassA(&wc);
    parent_.reset(CreateWindowExA(0, wc.lpszClassName, "parent", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200,
                                  nullptr, nullptr, wc.hInstance, nullptr));
    ASSERT_TRUE(parent_);
    clicks_ = 0;
    ASSERT_TRUE(button_.Create(parent_.get(), 7, "C&lean", 10, 10));
  }
  LRESULT Send(UINT message, WPARAM wParam) { return SendMessageA(button_.hwnd(), message, wParam, 0); }
  static int clicks_;
  win::UniqueWindow parent_;
  TOwnerDrawBtn button_;
};
int OwnerdrawbtnControl::clicks_ = 0;

TEST_F(OwnerdrawbtnControl, KeysAndAcceleratorClickOnlyAButtonThatCanTakeTheFocus) {
  EXPECT_EQ(0, Send(ownerdrawbtn::kDialogKey, VK_RETURN));  // not the default
  button_.SetDefault(true);
  ownerdrawbtn::BroadcastFocusChanged(parent_.get(), nullptr);
  EXPECT_EQ(1, Send(ownerdrawbtn::kDialogKey, VK_RETURN));
  EXPECT_EQ(1, clicks_);
  EXPECT_EQ(0, Send(ownerdrawbtn::kDialogKey, VK_ESCAPE));
  button_.Cancel = true;
  EXPECT_EQ(1, Send(ownerdrawbtn::kDialogKey, VK_ESCAPE));
  EXPECT_EQ(2, clicks_);
  EXPECT_EQ(1, Send(ownerdrawbtn::kDialogChar, 'L'));
  EXPECT_EQ(0, Send(ownerdrawbtn::kDialogChar, 'c'));
  EXPECT_EQ(3, clicks_);
  EnableWindow(button_.hwnd(), FALSE);
  EXPECT_EQ(0, Send(ownerdrawbtn::kDialogKey, VK_RETURN));
  EnableWindow(button_.hwnd(), TRUE);
  ShowWindow(button_.hwnd(), SW_HIDE);
  EXPECT_EQ(0, Send(ownerdrawbtn::kDialogChar, 'l'));
  EXPECT_EQ(3, clicks_);
}

TEST_F(OwnerdrawbtnControl, DefaultDrawIgnoresTheHandlerAndMouseOverDrawOffKeepsMouseOverClear) {
  int drawn = 0;
  button_.OnDrawButton = [&](TOwnerDrawBtn&) { ++drawn; };
  RedrawWindow(button_.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(0, drawn);  // DoDefaultDraw starts on
  button_.SetDefaultDraw(false);
  RedrawWindow(button_.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(1, drawn);

  button_.MouseOverDraw = false;
  SendMessageA(button_.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(0u, button_.ButtonState() & MouseOver);
  button_.MouseOverDraw = true;
  SendMessageA(button_.hwnd(), WM_MOUSELEAVE, 0, 0);
  SendMessageA(button_.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(6, 6));
  EXPECT_EQ(static_cast<unsigned>(MouseOver), button_.ButtonState() & MouseOver);
}

}  // namespace
