// Pieces that the host's windows share: the window procedure that forwards to a form
// object, the frame lines drawn around controls, the minimum size and the form font.
#pragma once

#include <windows.h>

#include <exception>

#include "common/Dpi.h"
#include "common/Unique.h"

namespace windowparts {

// Runs the body of a window, dialog or control procedure: an exception stops at this edge
// and `fallback` answers the message instead.
template <typename Body, typename Fallback>
auto Guarded(Body&& body, Fallback&& fallback) -> decltype(body()) {
  try {
    return body();
  } catch (const std::exception&) {
    return fallback();
  }
}

// Window procedure for a form class T with `HWND hwnd_` and `LRESULT Handle(UINT, WPARAM,
// LPARAM)`; the object comes as the creation parameter.
template <typename T>
LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<T*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    form->hwnd_ = hwnd;
  }
  auto* form = reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  const auto byDefault = [&] { return DefWindowProcA(hwnd, message, wParam, lParam); };
  if (!form) return byDefault();
  return Guarded([&] { return form->Handle(message, wParam, lParam); }, byDefault);
}

// Selects a one-pixel pen and a hollow brush into a device context for as long as it lives.
class FramePen {
 public:
  FramePen(HDC dc, COLORREF colour)
      : dc_(dc), pen_(CreatePen(PS_SOLID, 1, colour)), oldPen_(SelectObject(dc, pen_.get())),
        oldBrush_(SelectObject(dc, GetStockObject(NULL_BRUSH))) {}
  ~FramePen() {
    SelectObject(dc_, oldBrush_);
    SelectObject(dc_, oldPen_);
  }
  FramePen(const FramePen&) = delete;
  FramePen& operator=(const FramePen&) = delete;
  // A rectangle one pixel outside the bounds of a child window.
  void AroundChild(HWND parent, HWND child) const {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    Rectangle(dc_, rect.left - 1, rect.top - 1, rect.right + 1, rect.bottom + 1);
  }

 private:
  HDC dc_;
  win::UniqueGdi pen_;
  HGDIOBJ oldPen_;
  HGDIOBJ oldBrush_;
};

// The minimum size, given in pixels at 96 DPI, at the window's DPI.
inline LRESULT SetMinimumSize(HWND window, LPARAM lParam, int width, int height) {
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  const int windowDpi = dpi::ForWindow(window);
  info->ptMinTrackSize.x = dpi::Scale(width, windowDpi);
  info->ptMinTrackSize.y = dpi::Scale(height, windowDpi);
  return 0;
}

// The platform's icon-title font, which the host's windows use, at the window's DPI.
inline HFONT CreateIconTitleFont(HWND window) { return dpi::CreateIconTitleFont(dpi::ForWindow(window)); }

}  // namespace windowparts
