// The wait window TWaitForm, shown while the plug-ins load and count.
#pragma once

#include <windows.h>

#include "common/Unique.h"

class WaitForm {
 public:
  // Shows the window at once, centred on the screen, in the window colour of the settings.
  void Create(HINSTANCE instance, COLORREF colour);
  ~WaitForm() = default;
  void Close() { window_.reset(); }

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  win::UniqueWindow window_;
  win::UniqueGdi brush_;
};

// Dispatches every message waiting in the thread's queue, so that a window shown just now
// paints before work that holds the thread.
void ProcessPendingMessages();
