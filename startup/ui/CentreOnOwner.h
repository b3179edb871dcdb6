// Places a dialog over the middle of the window that owns it, kept inside the work area of
// that window's monitor. Without an owner it stays where it is.
#pragma once

#include <windows.h>

#include <algorithm>

namespace products::stelmar::ui {

inline void centreOnOwner(HWND window) {
  HWND owner = GetWindow(window, GW_OWNER);
  RECT ownerRect{}, own{};
  if (!owner || !GetWindowRect(owner, &ownerRect) || !GetWindowRect(window, &own)) return;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  const bool onMonitor =
      GetMonitorInfoA(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor) != FALSE;
  const int width = own.right - own.left, height = own.bottom - own.top;
  int x = ownerRect.left + (ownerRect.right - ownerRect.left - width) / 2;
  int y = ownerRect.top + (ownerRect.bottom - ownerRect.top - height) / 2;
  if (onMonitor) {
    const RECT& work = monitor.rcWork;
    x = std::max<int>(work.left, std::min<int>(x, work.right - width));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
  }
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace products::stelmar::ui
