#include "cleaner/forms/About.h"

#include <shellapi.h>

#include "cleaner/forms/WindowParts.h"
#include "common/Unique.h"

namespace aboutbox {

namespace {

constexpr int kWidth = 280;
constexpr int kHeight = 130;
constexpr RECT kLinkRect = {20, 92, 260, 110};

class AboutBox {
 public:
  AboutBox(COLORREF background, COLORREF frame, COLORREF text) : frame_(frame), text_(text) {
    background_.reset(CreateSolidBrush(background));
  }
  void Run(HWND owner);

 private:
  friend LRESULT CALLBACK windowparts::FormProc<AboutBox>(HWND, UINT, WPARAM, LPARAM);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();

  HWND hwnd_ = nullptr;
  win::UniqueGdi background_;
  win::UniqueGdi font_;
  int dpi_ = dpi::kDefault;
  int S(int value) const { return dpi::Scale(value, dpi_); }
  RECT LinkRect() const { return {S(kLinkRect.left), S(kLinkRect.top), S(kLinkRect.right), S(kLinkRect.bottom)}; }
  COLORREF frame_;
  COLORREF text_;
  bool closed_ = false;
};

void AboutBox::Run(HWND owner) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  wc.lpfnWndProc = windowparts::FormProc<AboutBox>;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);
  RECT ownerRect;
  GetWindowRect(owner, &ownerRect);
  dpi_ = dpi::ForWindow(owner);
  font_.reset(dpi::CreateIconTitleFont(dpi_));
  const int x = ownerRect.left + (ownerRect.right - ownerRect.left - S(kWidth)) / 2;
  const int y = ownerRect.top + (ownerRect.bottom - ownerRect.top - S(kHeight)) / 2;
  if (!CreateWindowExA(0, kClassName, kProduct, WS_POPUP, x, y, S(kWidth), S(kHeight), owner, nullptr,
                       instance, this))
    return;
  EnableWindow(owner, FALSE);
  ShowWindow(hwnd_, SW_SHOW);
  SetFocus(hwnd_);
  MSG msg;
  while (!closed_ && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  EnableWindow(owner, TRUE);
  DestroyWindow(hwnd_);
  SetActiveWindow(owner);
}

void AboutBox::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd_, &paint);
  RECT client;
  GetClientRect(hwnd_, &client);
  FillRect(dc, &client, static_cast<HBRUSH>(background_.get()));
  {
    const win::Selected font(dc, font_ ? font_.get() : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, frame_);
    TextOutA(dc, S(20), S(16), kProduct, lstrlenA(kProduct));
    SetTextColor(dc, text_);
    TextOutA(dc, S(20), S(40), kVersion, lstrlenA(kVersion));
    TextOutA(dc, S(20), S(60), kTagline, lstrlenA(kTagline));
    SetTextColor(dc, RGB(0, 0, 0xCC));
    RECT link = LinkRect();
    DrawTextA(dc, kAddress, -1, &link, DT_SINGLELINE | DT_LEFT | DT_NOPREFIX);
  }
  EndPaint(hwnd_, &paint);
}

LRESULT AboutBox::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_LBUTTONDOWN: {
      const POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      const RECT link = LinkRect();
      if (PtInRect(&link, at)) ShellExecuteA(hwnd_, "open", kAddress, nullptr, nullptr, SW_SHOWNORMAL);
      closed_ = true;
      return 0;
    }
    case WM_KEYDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_CLOSE:
      closed_ = true;
      return 0;
    case WM_ACTIVATE:
      // A click on another window ends the box as well.
      if (LOWORD(wParam) == WA_INACTIVE) closed_ = true;
      break;
  }
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

}  // namespace

void Show(HWND owner, COLORREF background, COLORREF frame, COLORREF text) {
  AboutBox(background, frame, text).Run(owner);
}

}  // namespace aboutbox
