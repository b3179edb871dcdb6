// The main window TMainForm of the interactive host.
#pragma once

#include <windows.h>

class Host;

namespace mainform {

// The caption of the host's message boxes.
constexpr const char* kAppTitle = "Varnick";

// The interactive start-up of a host whose command line has been parsed: the window, the
// settings, the wait window while the plug-ins load and count, the filled list, and the
// window's life until it closes. Returns the program's exit code.
int Run(Host& host, HINSTANCE instance);

}  // namespace mainform
