#include "cleaner/forms/Saverestore.h"

#include "cleaner/forms/FormRules.h"
#include "common/Dpi.h"
#include "common/Ini.h"
#include "common/Unique.h"

namespace formpos {

namespace {
constexpr const char* kTop = "Top";
constexpr const char* kLeft = "Left";
constexpr const char* kWidth = "Width";
constexpr const char* kHeight = "Height";

// A key whose text is not a number keeps the current value.
int ReadOr(const std::string& file, const char* section, const char* key, int current) {
  const std::string text = ini::ReadString(file, section, key, "");
  if (text.empty()) return current;
  size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (i >= text.size()) return current;
  for (size_t j = i; j < text.size(); ++j)
    if (text[j] < '0' || text[j] > '9') return current;
  return ini::ReadInt(file, section, key, current);
}
}  // namespace

void SaveFormPosition(HWND window, const std::string& programFolder, const char* section) {
  RECT rect;
  if (!GetWindowRect(window, &rect)) return;
  const std::string file = programFolder + kFileName;
  ini::WriteString(file, section, kTop, std::to_string(rect.top));
  ini::WriteString(file, section, kLeft, std::to_string(rect.left));
  ini::WriteString(file, section, kWidth, std::to_string(rect.right - rect.left));
  ini::WriteString(file, section, kHeight, std::to_string(rect.bottom - rect.top));
}

void RestoreFormPosition(HWND window, const std::string& programFolder, const char* section) {
  const std::string file = programFolder + kFileName;
  if (!ini::SectionExists(file, section)) return;
  RECT rect;
  if (!GetWindowRect(window, &rect)) return;
  const int top = ReadOr(file, section, kTop, rect.top);
  const int left = ReadOr(file, section, kLeft, rect.left);
  const int width = ReadOr(file, section, kWidth, rect.right - rect.left);
  const int height = ReadOr(file, section, kHeight, rect.bottom - rect.top);
  SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  // The minimum size may have changed the bounds just set.
  if (!GetWindowRect(window, &rect)) return;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoA(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const RECT& work = monitor.rcWork;
  const formrules::Box placed = formrules::BringOnto(
      {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top},
      {work.left, work.top, work.right - work.left, work.bottom - work.top});
  if (placed.left != rect.left || placed.top != rect.top || placed.width != rect.right - rect.left ||
      placed.height != rect.bottom - rect.top)
    SetWindowPos(window, nullptr, placed.left, placed.top, placed.width, placed.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace formpos

namespace {

constexpr int kHelpFontPoints = 8;
constexpr int kHelpMeasureMargin = 20;
constexpr int kHelpTextInset = 10;
constexpr UINT kHelpTextFormat = DT_WORDBREAK | DT_NOPREFIX;

void RegisterPopupClass(const char* name, WNDPROC proc, UINT style) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  if (GetClassInfoA(instance, name, &wc)) return;
  wc = WNDCLASSA{};
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  RegisterClassA(&wc);
}

HWND CreatePopup(const char* className, const std::string& text, void* owner, DWORD exStyle = 0) {
  return CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | exStyle, className, text.c_str(),
                         WS_POPUP | WS_BORDER, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleA(nullptr), owner);
}

// Lays the text out in a memory context with the font, as DrawTextA would draw it.
RECT LayOut(HFONT font, const std::string& text, RECT rect, UINT format) {
  const win::UniqueMemoryDc dc(CreateCompatibleDC(win::WindowDc(nullptr).get()));
  if (!dc) return rect;
  const win::Selected selected(dc.get(), font);
  DrawTextA(dc.get(), text.c_str(), -1, &rect, format | DT_CALCRECT);
  return rect;
}

template <typename T>
T* PopupOf(HWND hwnd, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
  return reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

}  // namespace

TCustomHelpWindow::TCustomHelpWindow(COLORREF background) : background_(background) {
  SetDpi(dpi::System());
  RegisterPopupClass(kClassName, Proc, CS_SAVEBITS);
}

void TCustomHelpWindow::SetDpi(int dpi) {
  if (dpi == dpi_ && font_) return;
  Hide();
  dpi_ = dpi;
  font_.reset(dpi::CreatePointFont("Tahoma", kHelpFontPoints, dpi));
}

TCustomHelpWindow::~TCustomHelpWindow() { Hide(); }

RECT TCustomHelpWindow::MeasureHelpText(int maxWidth, const std::string& text) const {
  RECT rect = LayOut(Font(), text, {0, 0, maxWidth, 0}, kHelpTextFormat);
  rect.right += dpi::Scale(kHelpMeasureMargin, dpi_);
  rect.bottom += dpi::Scale(kHelpMeasureMargin, dpi_);
  return rect;
}

void TCustomHelpWindow::SetText(const std::string& text) {
  if (text == text_ && hwnd_) return;
  text_ = text;
  if (!hwnd_) hwnd_ = CreatePopup(kClassName, text, this);
  if (!hwnd_) return;
  SetWindowTextA(hwnd_, text.c_str());
  const RECT size = LayOut(Font(), text, {0, 0, 0, 0}, DT_SINGLELINE | DT_NOPREFIX);
  SetWindowPos(hwnd_, nullptr, 0, 0, size.right + dpi::Scale(6, dpi_), size.bottom + dpi::Scale(4, dpi_),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomHelpWindow::ShowHelpText(RECT bounds, const std::string& text) {
  SetText(text);
  if (!hwnd_) return;
  bounds.bottom += dpi::Scale(4, dpi_);
  const formrules::Box desktop = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                                  GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  const formrules::Box placed = formrules::KeepOnDesktop(
      {bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top}, desktop);
  SetWindowPos(hwnd_, HWND_TOPMOST, placed.left, placed.top, placed.width, placed.height,
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  InvalidateRect(hwnd_, nullptr, TRUE);
  UpdateWindow(hwnd_);
}

void TCustomHelpWindow::Hide() {
  if (!hwnd_) return;
  HWND window = hwnd_;
  hwnd_ = nullptr;
  text_.clear();
  DestroyWindow(window);
}

bool TCustomHelpWindow::IsClosingEvent(UINT message) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_COMMAND:
    case WM_SYSCOMMAND:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_MOUSEWHEEL:
    case WM_ACTIVATEAPP:
      return true;
  }
  return false;
}

void TCustomHelpWindow::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd_, &paint);
  RECT client;
  GetClientRect(hwnd_, &client);
  {
    const win::UniqueGdi background(CreateSolidBrush(background_));
    FillRect(dc, &client, static_cast<HBRUSH>(background.get()));
  }
  FrameRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  {
    const win::Selected font(dc, Font());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    RECT text = client;
    text.left += dpi::Scale(kHelpTextInset, dpi_);
    text.top += dpi::Scale(kHelpTextInset, dpi_);
    DrawTextA(dc, text_.c_str(), -1, &text, kHelpTextFormat);
  }
  EndPaint(hwnd_, &paint);
}

LRESULT CALLBACK TCustomHelpWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* popup = PopupOf<TCustomHelpWindow>(hwnd, message, lParam);
  if (!popup) return DefWindowProcA(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_NCPAINT: {
      const win::WindowDc dc(hwnd, true);
      RECT rect;
      GetWindowRect(hwnd, &rect);
      OffsetRect(&rect, -rect.left, -rect.top);
      const win::UniqueGdi frame(CreateSolidBrush(kFrameColour));
      FrameRect(dc.get(), &rect, static_cast<HBRUSH>(frame.get()));
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      popup->Paint();
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_KILLFOCUS:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      popup->Hide();
      return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

void THintWindow::Show(POINT at, const std::string& text, HFONT font) {
  RegisterPopupClass(kClassName, Proc, CS_SAVEBITS);
  font_ = font;
  if (!hwnd_) {
    // Layered and transparent: the system's hit testing passes over it, in every thread
    // and process, so a click lands on the row it covers.
    hwnd_ = CreatePopup(kClassName, text, this, WS_EX_LAYERED | WS_EX_TRANSPARENT);
    if (hwnd_) SetLayeredWindowAttributes(hwnd_, 0, 255, LWA_ALPHA);
  }
  if (!hwnd_) return;
  if (text != text_) SetWindowTextA(hwnd_, text.c_str());
  text_ = text;
  const RECT size = LayOut(font, text, {0, 0, 0, 0}, DT_SINGLELINE | DT_NOPREFIX);
  const int windowDpi = dpi::ForPoint(at);
  SetWindowPos(hwnd_, HWND_TOPMOST, at.x, at.y, size.right + dpi::Scale(6, windowDpi),
               size.bottom + dpi::Scale(4, windowDpi), SWP_SHOWWINDOW | SWP_NOACTIVATE);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void THintWindow::Hide() {
  if (!hwnd_) return;
  HWND window = hwnd_;
  hwnd_ = nullptr;
  text_.clear();
  DestroyWindow(window);
}

LRESULT CALLBACK THintWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* hint = PopupOf<THintWindow>(hwnd, message, lParam);
  if (hint && message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
    {
      const win::Selected font(dc, hint->font_);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
      const int windowDpi = dpi::ForWindow(hwnd);
      client.left += dpi::Scale(2, windowDpi);
      client.top += dpi::Scale(1, windowDpi);
      DrawTextA(dc, hint->text_.c_str(), -1, &client, DT_SINGLELINE | DT_NOPREFIX);
    }
    EndPaint(hwnd, &paint);
    return 0;
  }
  if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  // For the hit testing of this thread's own input as well.
  if (message == WM_NCHITTEST) return HTTRANSPARENT;
  return DefWindowProcA(hwnd, message, wParam, lParam);
}
