#include "startup/windows/CodePage.h"

#include <windows.h>

#include <cstdio>

namespace windows {

std::string toCodePage(const std::wstring& text, bool& exact) {
  if (text.empty()) return std::string();
  auto convert = [](const wchar_t* begin, int length, bool& lossless) {
    BOOL usedDefault = FALSE;
    const int size = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, begin, length, nullptr, 0,
                                           nullptr, &usedDefault);
    std::string result(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
      ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, begin, length, result.data(), size,
                            nullptr, &usedDefault);
    }
    lossless = size > 0 && !usedDefault;
    return result;
  };
  bool lossless = false;
  std::string whole = convert(text.data(), static_cast<int>(text.size()), lossless);
  if (lossless) return whole;
  exact = false;
  std::string shown;
  for (wchar_t c : text) {
    bool one = false;
    const std::string piece = convert(&c, 1, one);
    if (one) {
      shown += piece;
    } else {
      char code[16];
      std::snprintf(code, sizeof code, "[U+%04X]", static_cast<unsigned>(c));
      shown += code;
    }
  }
  return shown;
}

}  // namespace windows
