// The one message loop of the host's windows. They are plain windows, so what a form
// framework would do for them is done here, the same way for every form: the form sees
// every message of the thread first (key preview), Enter and Escape go to its buttons as
// dialog keys, accelerator characters to its buttons, the platform's dialog navigation
// (Tab) does the rest, and the buttons hear where the focus went.
#pragma once

#include <windows.h>

#include <functional>

namespace formloop {

// Runs until `done` is set or the application quits. `preview` may consume a message
// (returns true) before anything else sees it.
void Run(HWND form, const bool& done, const std::function<bool(const MSG&)>& preview = {});

}  // namespace formloop
