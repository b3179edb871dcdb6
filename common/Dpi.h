// Per-monitor display scale for the programs' windows. The programs declare themselves
// per-monitor aware (in their manifests and, where the system offers it, at run time) and
// lay out every window in pixels of 96 DPI scaled by the DPI of the window's monitor.
// The functions that newer systems have are looked up by name: on a system without them
// every window has the system's DPI.
#pragma once

#include <windows.h>

#include "common/DpiScale.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace dpi {

// Per-monitor aware (version 2, else version 1), else system aware. Call before the first
// window exists; a manifest that already declared it makes this a no-op.
void DeclareAwareness();

// DPI of the screen (the primary monitor's, or the one the system scales everything to).
int System();
// DPI of the monitor the window is on.
int ForWindow(HWND window);
// DPI of the monitor nearest to a screen point.
int ForPoint(POINT screen);

// GetSystemMetrics for a DPI (the size of icons, frames, scroll bars).
int Metric(int index, int dpi);
// The platform's icon-title font, the one the host's windows use, at a DPI.
HFONT CreateIconTitleFont(int dpi);
// The message font (as dialogs use) at a DPI.
HFONT CreateMessageFont(int dpi);
// A font of `points` size at a DPI.
HFONT CreatePointFont(const char* face, int points, int dpi, int weight = FW_NORMAL);
// Outer size of a window whose client area is `width` x `height`, at a DPI.
SIZE WindowSizeFor(int width, int height, DWORD style, DWORD exStyle, int dpi);

// WM_DPICHANGED: moves and sizes the window to the rectangle the system suggests.
void ApplySuggestedRect(HWND window, LPARAM lParam);

}  // namespace dpi
