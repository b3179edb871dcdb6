// Texts of the system's wide (UTF-16) calls in the system code page, which the program's
// 8-bit texts and its store of disabled entries use.
#pragma once

#include <string>

namespace windows {

// The text in the system code page. `exact` is set false (and is never set true) when the
// code page cannot hold it; every character it lacks is then written as "[U+XXXX]", so that
// the text only shows what it is and two such texts stay apart.
std::string toCodePage(const std::wstring& text, bool& exact);

}  // namespace windows
