#include "cleaner/forms/Wait.h"

#include "cleaner/forms/MainIds.h"

using namespace mainform;

LRESULT CALLBACK WaitForm::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    SetBkMode(dc, TRANSPARENT);
    {
      const win::Selected font(dc, GetStockObject(DEFAULT_GUI_FONT));
      static const char* const kLines[] = {"Please wait...", "Varnick is examining the system."};
      TextOutA(dc, 16, 14, kLines[0], lstrlenA(kLines[0]));
      TextOutA(dc, 16, 34, kLines[1], lstrlenA(kLines[1]));
    }
    EndPaint(hwnd, &paint);
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

void WaitForm::Create(HINSTANCE instance, COLORREF colour) {
  brush_.reset(CreateSolidBrush(colour));
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_WAIT);
  wc.hbrBackground = static_cast<HBRUSH>(brush_.get());
  wc.lpszClassName = kWaitClassName;
  RegisterClassA(&wc);
  const int width = 240, height = 90;
  window_.reset(CreateWindowExA(WS_EX_TOOLWINDOW, kWaitClassName, kWaitTitle, WS_POPUP | WS_CAPTION,
                                (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                                nullptr, nullptr, instance, nullptr));
  ShowWindow(window_.get(), SW_SHOWNORMAL);
  UpdateWindow(window_.get());
}

void ProcessPendingMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}
