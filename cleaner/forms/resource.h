// Resource numbers of morvel.exe (also read by the resource compiler, so plain macros).
// The icon groups come in this order in the file: index 0 is the program's icon, index 1
// the icon of the quiet-mode shortcut.
#pragma once

#define IDI_MORVEL 1
#define IDI_QUIET 2
