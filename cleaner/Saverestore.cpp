#include "cleaner/Saverestore.h"

#include "common/Ini.h"

namespace formpos {

namespace {
constexpr const char* kTop = "Top";
constexpr const char* kLeft = "Left";
constexpr const char* kWidth = "Width";
constexpr const char* kHeight = "Height";

// A key whose text is not a number keeps the current value.
int ReadOr(const std::string& file, const char* section, const char* key, int current) {
  const std::string text = ini::ReadString(file, section, key, "");
  if (text.empty()) return current;
  size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (i >= text.size()) return current;
  for (size_t j = i; j < text.size(); ++j)
    if (text[j] < '0' || text[j] > '9') return current;
  return ini::ReadInt(file, section, key, current);
}
}  // namespace

void SaveFormPosition(HWND window, const std::string& programFolder, const char* section) {
  RECT rect;
  if (!GetWindowRect(window, &rect)) return;
  const std::string file = programFolder + kFileName;
  ini::WriteString(file, section, kTop, std::to_string(rect.top));
  ini::WriteString(file, section, kLeft, std::to_string(rect.left));
  ini::WriteString(file, section, kWidth, std::to_string(rect.right - rect.left));
  ini::WriteString(file, section, kHeight, std::to_string(rect.bottom - rect.top));
}

void RestoreFormPosition(HWND window, const std::string& programFolder, const char* section) {
  const std::string file = programFolder + kFileName;
  if (!ini::SectionExists(file, section)) return;
  RECT rect;
  if (!GetWindowRect(window, &rect)) return;
  const int top = ReadOr(file, section, kTop, rect.top);
  const int left = ReadOr(file, section, kLeft, rect.left);
  const int width = ReadOr(file, section, kWidth, rect.right - rect.left);
  const int height = ReadOr(file, section, kHeight, rect.bottom - rect.top);
  SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace formpos
