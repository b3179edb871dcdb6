// TOwnerDrawBtn: a push button that leaves its painting to a handler and keeps the four
// states such a handler needs (pressed, mouse over, default, focused). It acts as a push
// button: focus, default and cancel buttons, the caption's accelerator, click.
//
// The host's windows are plain windows, so what a form framework would do for its buttons
// is done here too: RunFormLoop hands dialog keys and accelerator characters to the form's
// buttons and tells them where the focus went.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace ownerdrawbtn {
constexpr const char* kClassName = "TOwnerDrawBtn";
// Notices a form sends its buttons.
constexpr UINT kFocusChanged = WM_APP + 0x40;  // wParam: the newly focused control
constexpr UINT kDialogKey = WM_APP + 0x41;     // wParam: virtual key; 1 when handled
constexpr UINT kDialogChar = WM_APP + 0x42;    // wParam: character; 1 when handled
// Answers the ButtonState bits (for the host's test drivers).
constexpr UINT kGetButtonState = WM_APP + 0x43;
}  // namespace ownerdrawbtn

enum ButtonStateFlag : unsigned { Pressed = 1, MouseOver = 2, IsDefault = 4, Focused = 8 };

class TOwnerDrawBtn {
 public:
  using DrawHandler = std::function<void(TOwnerDrawBtn& sender)>;

  TOwnerDrawBtn() = default;
  TOwnerDrawBtn(const TOwnerDrawBtn&) = delete;
  TOwnerDrawBtn& operator=(const TOwnerDrawBtn&) = delete;
  ~TOwnerDrawBtn();

  // Creates the window as a child of `parent` (75 x 25 at 0, 0 unless given).
  bool Create(HWND parent, int id, const std::string& caption, int left = 0, int top = 0,
              int width = 75, int height = 25);

  void SetDefaultDraw(bool on);
  void SetDefault(bool on);
  void SetButtonStyle(bool isDefault);

  HWND hwnd() const { return hwnd_; }
  unsigned ButtonState() const { return state_; }
  bool DoDefaultDraw() const { return doDefaultDraw_; }
  bool Default() const { return default_; }
  std::string Caption() const;
  HFONT Font() const { return font_; }
  // Valid while the button paints.
  HDC Canvas() const { return canvas_; }
  const RECT& ClientRect() const { return clientRect_; }

  DrawHandler OnDrawButton;
  bool MouseOverDraw = true;
  bool Cancel = false;
  int Tag = 0;

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();
  void DrawStandard();
  void Click();
  bool CanFocus() const;
  void Set(unsigned flag, bool on);
  void MouseEntered();
  void MouseLeft();
  void FocusChanged(HWND focused);

  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  HDC canvas_ = nullptr;
  RECT clientRect_ = {};
  unsigned state_ = 0;
  bool doDefaultDraw_ = true;
  bool default_ = false;
  bool activeDefault_ = false;
  bool mouseInside_ = false;
};

namespace ownerdrawbtn {

// The character after the first single "&" of a caption, lower-cased; 0 when none.
char AcceleratorOf(const std::string& caption);

// Tells every TOwnerDrawBtn of `form` that the focus is now on `focused`.
void BroadcastFocusChanged(HWND form, HWND focused);

// The message loop of a form with TOwnerDrawBtn children, until `done` is set or the
// application quits. `preview` sees every message of the thread first and may consume it
// (returns true). Then Enter and Escape go to the buttons as dialog keys, accelerator
// characters to the buttons, and the platform's dialog navigation (Tab) does the rest.
void RunFormLoop(HWND form, const bool& done, const std::function<bool(const MSG&)>& preview = {});

}  // namespace ownerdrawbtn
