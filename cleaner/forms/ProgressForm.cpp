#include "cleaner/forms/ProgressForm.h"

#include <commctrl.h>

#include "cleaner/forms/MainIds.h"
#include "cleaner/forms/WindowParts.h"
#include "cleaner/host/ItemList.h"
#include "cleaner/host/Wording.h"
#include "common/Dpi.h"

namespace progressform {

namespace {

constexpr DWORD kPumpEveryMs = 50;
constexpr const char* kWaitLines[] = {"Please wait...", "Varnick is examining the system."};
constexpr const char* kCounting = "Counting: ";
constexpr const char* kCleaningItem = "Cleaning: ";
constexpr int kWaitWidth = 300, kWaitHeight = 96;
constexpr int kProgressWidth = 360, kProgressHeight = 92;  // client area at 96 DPI

void RegisterOnce(HINSTANCE instance, const char* name, WNDPROC proc, HBRUSH background, HCURSOR cursor) {
  WNDCLASSA wc{};
  if (GetClassInfoA(instance, name, &wc)) return;
  wc = WNDCLASSA{};
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  RegisterClassA(&wc);
}

// Centred on the primary monitor's work area.
POINT CentredOrigin(int width, int height) {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return {work.left + (work.right - work.left - width) / 2, work.top + (work.bottom - work.top - height) / 2};
}

}  // namespace

void Pump::Run(bool now) {
  const DWORD tick = GetTickCount();
  if (!now && tick - last_ < kPumpEveryMs) return;
  last_ = tick;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

WaitForm::~WaitForm() { Close(); }

void WaitForm::Create(HINSTANCE instance, COLORREF colour) {
  brush_.reset(CreateSolidBrush(colour));
  RegisterOnce(instance, mainform::kWaitClassName, Proc, static_cast<HBRUSH>(brush_.get()),
               LoadCursor(nullptr, IDC_WAIT));
  dpi_ = dpi::System();
  font_.reset(dpi::CreateMessageFont(dpi_));
  const DWORD style = WS_POPUP | WS_CAPTION;
  const SIZE size = dpi::WindowSizeFor(dpi::Scale(kWaitWidth, dpi_), dpi::Scale(kWaitHeight, dpi_), style,
                                       WS_EX_TOOLWINDOW, dpi_);
  const POINT at = CentredOrigin(size.cx, size.cy);
  window_.reset(CreateWindowExA(WS_EX_TOOLWINDOW, mainform::kWaitClassName, mainform::kWaitTitle, style, at.x,
                                at.y, size.cx, size.cy, nullptr, nullptr, instance, this));
  if (!window_) return;
  ShowWindow(window_.get(), SW_SHOWNORMAL);
  UpdateWindow(window_.get());
  progress::Listen(this);
  pump_.Run(true);
}

void WaitForm::Close() {
  progress::Listen(nullptr);
  window_.reset();
}

void WaitForm::Counting(const std::string& name) {
  name_ = name;
  if (!window_) return;
  InvalidateRect(window_.get(), nullptr, TRUE);
  pump_.Run(true);
}

void WaitForm::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_.get(), &paint);
  SetBkMode(dc, TRANSPARENT);
  {
    const win::Selected font(dc, font_ ? font_.get() : GetStockObject(DEFAULT_GUI_FONT));
    const int left = dpi::Scale(16, dpi_);
    TextOutA(dc, left, dpi::Scale(14, dpi_), kWaitLines[0], lstrlenA(kWaitLines[0]));
    TextOutA(dc, left, dpi::Scale(34, dpi_), kWaitLines[1], lstrlenA(kWaitLines[1]));
    if (!name_.empty()) {
      // A long name ends in an ellipsis rather than running out of the window.
      const std::string line = kCounting + name_;
      RECT client;
      GetClientRect(window_.get(), &client);
      RECT rect = {left, dpi::Scale(58, dpi_), client.right - left, client.bottom};
      DrawTextA(dc, line.c_str(), -1, &rect, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
  }
  EndPaint(window_.get(), &paint);
}

LRESULT CALLBACK WaitForm::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
  auto* form = reinterpret_cast<WaitForm*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (form && message == WM_PAINT && form->window_.get() == hwnd) {
    form->Paint();
    return 0;
  }
  // The window never closes by itself: it goes when the counting ends.
  if (message == WM_CLOSE) return 0;
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

ProgressForm::~ProgressForm() {
  if (window_) {
    EnableWindow(owner_, TRUE);
    window_.reset();
  }
}

void ProgressForm::Cleaning(std::size_t index, std::size_t count, const std::string& caption, long long files,
                            long long bytes) {
  index_ = index;
  count_ = count;
  caption_ = caption;
  files_ = files;
  bytes_ = bytes;
  ShowIfLong();
  Update();
  pump_.Run(true);
}

void ProgressForm::Working() {
  if (!window_ && GetTickCount() - startMs_ >= kShowAfterMs) {
    ShowIfLong();
    Update();
  }
  pump_.Run();
}

void ProgressForm::ShowIfLong() {
  if (window_ || GetTickCount() - startMs_ < kShowAfterMs) return;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  RegisterOnce(instance_, kProgressClassName, Proc, GetSysColorBrush(COLOR_BTNFACE), LoadCursor(nullptr, IDC_WAIT));
  const int windowDpi = dpi::ForWindow(owner_);
  const auto S = [windowDpi](int value) { return dpi::Scale(value, windowDpi); };
  const DWORD style = WS_POPUP | WS_CAPTION;
  const SIZE size = dpi::WindowSizeFor(S(kProgressWidth), S(kProgressHeight), style, 0, windowDpi);
  const POINT at = CentredOrigin(size.cx, size.cy);
  window_.reset(CreateWindowExA(0, kProgressClassName, kProgressTitle, style, at.x, at.y, size.cx, size.cy, owner_,
                                nullptr, instance_, nullptr));
  if (!window_) return;
  font_.reset(dpi::CreateMessageFont(windowDpi));
  const int margin = S(12), width = S(kProgressWidth) - 2 * margin;
  struct Child { int id; const char* cls; DWORD style; int top, height; };
  const Child children[] = {{kItemLabel, "STATIC", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, S(10), S(18)},
                            {kRemovedLabel, "STATIC", SS_LEFT | SS_NOPREFIX, S(32), S(18)},
                            {kBar, PROGRESS_CLASSA, 0, S(58), S(18)}};
  for (const Child& c : children) {
    HWND child = CreateWindowExA(0, c.cls, "", WS_CHILD | WS_VISIBLE | c.style, margin, c.top, width, c.height,
                                 window_.get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance_,
                                 nullptr);
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  }
  EnableWindow(owner_, FALSE);
  ShowWindow(window_.get(), SW_SHOWNORMAL);
}

void ProgressForm::Update() {
  if (!window_) return;
  const std::string item = kCleaningItem + caption_;
  SetDlgItemTextA(window_.get(), kItemLabel, item.c_str());
  const std::string removed = "Removed so far: " + std::to_string(files_) + wording::ItemWord(files_) + ", " +
                              wording::FormatByteSize(bytes_, DecimalSeparator());
  SetDlgItemTextA(window_.get(), kRemovedLabel, removed.c_str());
  HWND bar = GetDlgItem(window_.get(), kBar);
  SendMessageA(bar, PBM_SETRANGE32, 0, static_cast<LPARAM>(count_));
  SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(index_), 0);
  UpdateWindow(window_.get());
}

LRESULT CALLBACK ProgressForm::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  // The run cannot be stopped half-way through an item: the window stays until it ends.
  if (message == WM_CLOSE) return 0;
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace progressform
