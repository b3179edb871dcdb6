// Window places kept between runs in "formpos.ini" beside the program: one section per
// window ("MainForm", "ResultForm") with "Top", "Left", "Width" and "Height".
#pragma once

#include <windows.h>

#include <string>

namespace formpos {

constexpr const char* kFileName = "formpos.ini";
constexpr const char* kMainForm = "MainForm";
constexpr const char* kResultForm = "ResultForm";

// Writes the window's bounds; a failure is ignored.
void SaveFormPosition(HWND window, const std::string& programFolder, const char* section);
// Moves the window to the saved bounds when its section holds at least one key; a missing
// or non-numeric key keeps the current value.
void RestoreFormPosition(HWND window, const std::string& programFolder, const char* section);

}  // namespace formpos
