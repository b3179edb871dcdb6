// The arithmetic and texts of the host's windows that need no window: where "&About"
// goes when the window is resized, where the help popup may stand, when a list entry
// needs a hint, the context help texts, and the accelerator of a caption.
#pragma once

#include <string>

namespace formrules {

struct Box {
  int left, top, width, height;
};

// Left edge of "&About": centred between the right edge of "C&lean" and the left edge of
// "E&xit", the division rounding towards zero.
int AboutLeft(int cleanRight, int exitLeft, int aboutWidth);

// Moves a popup onto the desktop: up and left so that it ends within it, then right and
// down so that it starts within it.
Box KeepOnDesktop(Box popup, const Box& desktop);

// Brings a window onto a monitor's work area: no larger than it, then moved within it.
Box BringOnto(Box window, const Box& workArea);

// A list entry shows its caption as a hint when its row is narrower than the caption plus
// the room of the tick box and the icon (pixels at `dpi`).
bool NeedsHint(int rowWidth, int captionWidth, int dpi = 96);
constexpr int kHintLeftOffset = 34;

// Help contexts of the main window's controls and their popup texts. An item list request
// takes the entry's description instead; `hasEntry` says whether there is one.
enum HelpContext {
  kHelpItemList = 100,
  kHelpClean,
  kHelpAbout,
  kHelpExit,
  kHelpSaveAs,
  kHelpRemove,
  kHelpPresets,
};
// The text for a context, or "" when the request is declined.
std::string HelpText(int context, bool hasEntry, const std::string& entryDescription);
constexpr int kHelpWrapWidth = 200;
constexpr int kHelpOffset = 5;

char LowerCase(char c);
// The character after the first "&" that is not doubled, lower-cased; 0 when none.
char AcceleratorOf(const std::string& caption);

}  // namespace formrules
