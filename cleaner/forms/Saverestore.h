// Window places kept between runs in "formpos.ini" beside the program: one section per
// window ("MainForm", "ResultForm") with "Top", "Left", "Width" and "Height".
#pragma once

#include <windows.h>

#include <string>

#include "common/Unique.h"

namespace formpos {

constexpr const char* kFileName = "formpos.ini";
constexpr const char* kMainForm = "MainForm";
constexpr const char* kResultForm = "ResultForm";

// Writes the window's bounds; a failure is ignored.
void SaveFormPosition(HWND window, const std::string& programFolder, const char* section);
// Moves the window to the saved bounds when its section holds at least one key; a missing
// or non-numeric key keeps the current value. Bounds that lie off every screen (a monitor
// since removed, a smaller resolution) are brought onto the work area of the nearest one.
void RestoreFormPosition(HWND window, const std::string& programFolder, const char* section);

}  // namespace formpos

// TCustomHelpWindow: the host's own popup for context help texts. Its window exists only
// while it is shown; the first key press, click, command, wheel turn or change of the
// active application closes it (CloseOn).
class TCustomHelpWindow {
 public:
  static constexpr const char* kClassName = "TCustomHelpWindow";
  static constexpr COLORREF kFrameColour = 0x800000;

  explicit TCustomHelpWindow(COLORREF background);
  // The popup's font and margins follow the DPI of the window that asks for help.
  void SetDpi(int dpi);
  ~TCustomHelpWindow();
  TCustomHelpWindow(const TCustomHelpWindow&) = delete;
  TCustomHelpWindow& operator=(const TCustomHelpWindow&) = delete;

  // The size the text needs when wrapped at `maxWidth`, with the popup's margins.
  RECT MeasureHelpText(int maxWidth, const std::string& text) const;
  // Shows the text in `bounds` (screen), kept on the desktop, above all normal windows.
  void ShowHelpText(RECT bounds, const std::string& text);
  void Hide();
  bool Visible() const { return hwnd_ != nullptr; }
  // Whether a message is one of the events that close the popups: key presses, clicks,
  // commands, wheel turns, a change of the active application.
  static bool IsClosingEvent(UINT message);

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  void Paint();
  void SetText(const std::string& text);

  HFONT Font() const { return static_cast<HFONT>(font_.get()); }

  HWND hwnd_ = nullptr;
  std::string text_;
  COLORREF background_;
  win::UniqueGdi font_;
  int dpi_ = 0;
};

// THintWindow: the one-line hint that shows a list caption cut off by a narrow window. The
// mouse goes through it: a click on the hint is a click on the row beneath.
class THintWindow {
 public:
  static constexpr const char* kClassName = "THintWindow";
  THintWindow() = default;
  ~THintWindow() { Hide(); }
  THintWindow(const THintWindow&) = delete;
  THintWindow& operator=(const THintWindow&) = delete;
  // Shows the text with its top-left corner at `at` (screen), in the font given.
  void Show(POINT at, const std::string& text, HFONT font);
  void Hide();
  const std::string& text() const { return text_; }

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
  std::string text_;
  HFONT font_ = nullptr;
};
