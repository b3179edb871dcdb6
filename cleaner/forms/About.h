// The about box TAboutBox: a borderless window centred over its owner, shown modally; any
// key or click outside its link closes it, a click on the link opens the web page.
#pragma once

#include <windows.h>

namespace aboutbox {
constexpr const char* kClassName = "TAboutBox";
constexpr const char* kProduct = "Varnick";
constexpr const char* kVersion = "Version 1.0";
constexpr const char* kTagline = "Cleans what you tick, and nothing else.";
constexpr const char* kAddress = "https://www.varnick.example/";

void Show(HWND owner, COLORREF background, COLORREF frame, COLORREF text);
}  // namespace aboutbox
