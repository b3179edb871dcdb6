#include "cleaner/forms/FormRules.h"

#include "common/DpiScale.h"

namespace formrules {

namespace {
constexpr int kHintRoom = 36;
constexpr const char* kNoEntryText = "All available plugins on this system are listed here.";
struct HelpEntry {
  int context;
  const char* text;
};
constexpr HelpEntry kHelpTexts[] = {
    {kHelpClean, "Start the cleaning process."},
    {kHelpAbout, "Display information about Varnick."},
    {kHelpExit, "Close the program without cleaning."},
    {kHelpSaveAs, "Save the current settings."},
    {kHelpRemove, "Remove the selected settings."},
    {kHelpPresets, "All saved settings are listed here."},
};
}  // namespace

int AboutLeft(int cleanRight, int exitLeft, int aboutWidth) {
  return cleanRight + (exitLeft - cleanRight - aboutWidth) / 2;
}

Box KeepOnDesktop(Box popup, const Box& desktop) {
  const int bottom = desktop.top + desktop.height;
  const int right = desktop.left + desktop.width;
  if (popup.top + popup.height > bottom) popup.top = bottom - popup.height;
  if (popup.left + popup.width > right) popup.left = right - popup.width;
  if (popup.left < desktop.left) popup.left = desktop.left;
  if (popup.top < desktop.top) popup.top = desktop.top;
  return popup;
}

Box BringOnto(Box window, const Box& workArea) {
  if (window.width > workArea.width) window.width = workArea.width;
  if (window.height > workArea.height) window.height = workArea.height;
  return KeepOnDesktop(window, workArea);
}

bool NeedsHint(int rowWidth, int captionWidth, int dpi) {
  return rowWidth < captionWidth + dpi::Scale(kHintRoom, dpi);
}

std::string HelpText(int context, bool hasEntry, const std::string& entryDescription) {
  if (context == kHelpItemList) return hasEntry ? entryDescription : kNoEntryText;
  for (const HelpEntry& entry : kHelpTexts)
    if (entry.context == context) return entry.text;
  return "";
}

char LowerCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

char AcceleratorOf(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return LowerCase(caption[i + 1]);
    ++i;
  }
  return 0;
}

}  // namespace formrules
