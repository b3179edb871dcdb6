// The name prompt of "Save as...": a modal dialog of the program's resources.
#pragma once

#include <windows.h>

#include <string>

namespace saveasbox {
// Asks for a preset name; true, with the text typed, when OK closed the prompt.
bool AskName(HWND owner, std::string& name);
}  // namespace saveasbox
