// What the main dialog shows and offers, without a window: the location nodes of the tree
// with their captions and descriptions, the context menu of each kind of tree item, and the
// texts of the information commands. Standard library only.
#pragma once

#include <string>
#include <vector>

namespace products::stelmar::ui {

extern const char* const PRODUCT_NAME;  // "Stelmar"
extern const char* const VERSION;       // "2.11"

// One location node. `parent` indexes the node table (-1: a root node); `type` is the
// startup type shown under it (-1: a node that only groups others).
struct LocationNode {
  const char* caption;
  int parent;
  int type;
  const char* description;
};

// The nodes in the order they are inserted: parents before children. The "Run Services"
// nodes are there only off the NT family, whose systems are the only ones to read them; the
// "Run (32-bit)" and "Run Once (32-bit)" nodes only on 64-bit Windows, which has that view.
std::vector<LocationNode> locationNodes(bool isWindowsNT, bool windows64 = false);
// Indices of the nodes the dialog expands after its first fill.
std::vector<int> expandedNodes();

// Menu command numbers of the tree's context menu.
enum Command {
  CMD_DISABLE = 100,
  CMD_ENABLE = 101,
  CMD_DELETE = 102,
  CMD_RUN = 103,
  CMD_ENTRY_INFO = 104,
  CMD_ONLINE_INFO = 105,
  CMD_LOCATION_INFO = 106,
  CMD_ADD = 107,
  CMD_EDIT = 108,
  CMD_LOAD_ORDER = 109,
};

struct MenuItem {
  const char* text;
  int command;
};
enum class ItemKind { EnabledLeaf, DisabledLeaf, TypeNode, OtherNode };
// The menu of an item, top to bottom.
std::vector<MenuItem> menuFor(ItemKind kind);

extern const char* const DELETE_QUESTION_CAPTION;  // "Question"
extern const char* const DELETE_QUESTION;
extern const char* const OVERWRITE_CAPTION;
std::string overwriteQuestion(const std::string& name);
extern const char* const SHORTCUTS_ONLY;
extern const char* const NO_LOAD_ORDER_FOR_AUTOSTART;
extern const char* const UNEXPECTED_LEAF_FAILURE;

// Command 104: `fileFound` tells whether the entry's file exists; `switchedOffByWindows`
// whether Windows' own switch keeps the entry from starting.
std::string entryInformation(const std::string& data, bool fileFound,
                             bool switchedOffByWindows = false);
extern const char* const SWITCHED_OFF_BY_WINDOWS;
// Command 106: the node's description, and the text of its last read failure (may be empty).
std::string locationInformation(const std::string& description, const std::string& error);

// The file text that the online information names for a command line: `fileName` is the
// file name of its program, `libraryFileName` that of the library a rundll program is given
// (computed by the caller only when `rundllLibrary` is not empty).
bool isRundll(const std::string& fileName);
// The arguments cut after their last ".dll"; empty when they name no library.
std::string rundllLibrary(const std::string& arguments);
// The name the online information sends for an entry: for an autostart type only the text
// before the first dot.
std::string onlineInfoName(int type, const std::string& name);
// The address of the online information, each query value encoded by `encode`. The
// configured address names where the file text and the entry's name go with "{file}" and
// "{name}"; one with neither is the base of a file information service, which is given
// both in its query ("/filedb/index.php?search=&filename=...&startup=...&affiliate=smr").
std::string onlineInfoAddress(const std::string& configured, const std::string& file,
                              const std::string& name,
                              std::string (*encode)(const std::string&));
// The key of "stelmar.cfg" that sets that address, and the address without it: a web
// search for the file name.
extern const char* const ONLINE_INFO_KEY;
extern const char* const ONLINE_INFO_DEFAULT;

// Help: the address of the manual in the program folder (given with its backslash).
std::string manualAddress(const std::string& folder);
extern const char* const MANUAL_FILE;  // "manual.html"
extern const char* const HELP_BROWSER_FAILED_BEFORE;
extern const char* const HELP_BROWSER_FAILED_AFTER;
extern const char* const HELP_FAILED_BEFORE;
extern const char* const HELP_FAILED_AFTER;

extern const char* const ABOUT_TEXT;

// The name of the mutex that lets one copy run per program folder (given with or without
// its backslash, in any case): used where the folder's identity cannot be read.
std::string instanceMutexName(const std::string& programFolder);
// The tag of the store in a program folder, from the folder's file index, which every path
// to the folder shares (another drive letter, a junction, a share): it names the window
// property and the marks by which a second copy finds the first one.
std::string storeTag(unsigned long indexHigh, unsigned long indexLow);
// The file that the running copy holds open, unshared, in the program folder: whatever path
// or session a second copy comes by, it cannot open it.
extern const char* const LOCK_FILE;  // "stelmar.lock"
// Shown by a second copy whose first copy's window it cannot bring forward.
extern const char* const ANOTHER_COPY_RUNS;

}  // namespace products::stelmar::ui
