#include "startup/ui/StelmarModel.h"

#include <cctype>
#include <cstdint>
#include <cstdio>

#include "startup/StartupConstants.h"

namespace products::stelmar::ui {

const char* const PRODUCT_NAME = "Stelmar";
const char* const VERSION = "2.11";

const char* const DELETE_QUESTION_CAPTION = "Question";
const char* const DELETE_QUESTION = "Are you sure you want to delete this key?";
const char* const OVERWRITE_CAPTION = "Startup entry alread exists";
const char* const SHORTCUTS_ONLY =
    "You are only allowed to move shortcuts (.lnk) files from the autostart folders.";
const char* const NO_LOAD_ORDER_FOR_AUTOSTART =
    "We haven't implemented Load Order functionality for the autostart folders yet\n"
    "The solution is to move entries to the registry and use the Load Order from there.\n\n"
    "Moving entries is simple, just drag and drop them! (Left click on the entry you want to\n"
    "move, while holding down the left button, drag the entry to the desired destination and\n"
    "release the mouse button.)";
const char* const UNEXPECTED_LEAF_FAILURE =
    "An unexpected exception occured when inserting leafts. Please contact Harbeck.";
const char* const ONLINE_INFO_KEY = "products.stelmar.OnlineInfo.address";
const char* const ONLINE_INFO_DEFAULT = "https://duckduckgo.com/?q={file}";
const char* const MANUAL_FILE = "manual.html";
const char* const HELP_BROWSER_FAILED_BEFORE = "Couldn't launch your browser with the help file.\n";
const char* const HELP_BROWSER_FAILED_AFTER =
    "\nPlease try to open the file (manual.html) manually from explorer.";
const char* const HELP_FAILED_BEFORE = "An exception was caught when trying to view the help file.\n";
const char* const HELP_FAILED_AFTER = "\n\nHowever you can browse these files manually from explorer.";
const char* const ABOUT_TEXT =
    "Stelmar 2.11\n\n"
    "Shows every program that Windows starts automatically and lets you add, edit, delete,\n"
    "disable, enable, run and reorder them.\n\n"
    "Part of the Varnick maintenance suite.";

namespace {

using C = StartupConstants;

const char* const TEXT_R =
    "Each time the system boots, it executes all commands stored under this key. You might find "
    "command lines for applications that are started every time the computer reboots. Examples "
    "of programs are Anti-Virus programs, Volume Control and ICQ.";
const char* const TEXT_O =
    "Each time the system boots, it executes all commands stored under this key, then removes "
    "them. Typical candidates are setup programs that require that you reboot your system to "
    "continue the installation.";

const char* const VIEW_32 =
    "\n\nThis is the 32-bit view of the key, where 64-bit Windows keeps the entries of 32-bit "
    "programs (Task Manager calls it Run32). The entries of 64-bit programs are under Run and "
    "Run Once.";
const std::string TEXT_R32_TEXT = std::string(TEXT_R) + VIEW_32;
const std::string TEXT_O32_TEXT = std::string(TEXT_O) + VIEW_32;
const char* const TEXT_R32 = TEXT_R32_TEXT.c_str();
const char* const TEXT_O32 = TEXT_O32_TEXT.c_str();

// Indices of the table below, used as parents.
enum { REGISTRY, AUTOSTART, REGISTRY_ALL, REGISTRY_USER };

}  // namespace

std::vector<LocationNode> locationNodes(bool isWindowsNT, bool windows64) {
  std::vector<LocationNode> nodes = {
      {"Registry", -1, -1,
       "Entries under this key will be executed from the registry everytime the computer starts "
       "up."},
      {"Autostart", -1, -1,
       "Entries under this key will be executed from the autostart directories everytime the "
       "computer starts up."},
      {"All users", REGISTRY, -1,
       "Entries under this key will be executed for all users everytime the computer starts up."},
      {"Current User", REGISTRY, -1,
       "Entries under this key will be executed for the current user everytime the computer "
       "starts up."},
      {"Run", REGISTRY_ALL, C::LM_RUN_ALWAYS, TEXT_R},
      {"Run Once", REGISTRY_ALL, C::LM_RUN_ONCE, TEXT_O},
      {"Run Once Ex", REGISTRY_ALL, C::LM_RUN_ONCE_EX, TEXT_O},
      {"Run", REGISTRY_USER, C::CU_RUN_ALWAYS, TEXT_R},
      {"Run Once", REGISTRY_USER, C::CU_RUN_ONCE, TEXT_O},
      {"All users", AUTOSTART, C::LM_RUN_AUTOSTART,
       "Each time the system boots, it runs all executables stored under this directory. These "
       "are executed for all users."},
      {"Current user", AUTOSTART, C::CU_RUN_AUTOSTART,
       "Each time the system boots, it runs all executables stored under this directory. These "
       "are executed for the current user only."},
  };
  if (windows64) {
    nodes.push_back({"Run (32-bit)", REGISTRY_ALL, C::LM_RUN_ALWAYS_32, TEXT_R32});
    nodes.push_back({"Run Once (32-bit)", REGISTRY_ALL, C::LM_RUN_ONCE_32, TEXT_O32});
  }
  if (!isWindowsNT) {
    nodes.push_back({"Run Services", REGISTRY_ALL, C::LM_RUN_SERVICE,
                     "Run Services is run in the background when the logon dialog box first "
                     "appears or at this stage of the boot process if there is no logon. These "
                     "keys are for background services such as remote registry service and are "
                     "run only once per boot."});
    nodes.push_back({"Run Services Once", REGISTRY_ALL, C::LM_RUN_SERVICE_ONCE,
                     "Run Services Once is run in the background when the logon dialog box "
                     "first appears or at this stage of the boot process if there is no logon. "
                     "These keys are for background services such as remote registry service "
                     "and are run only once per boot. This key is removed after execution."});
  }
  return nodes;
}

std::vector<int> expandedNodes() { return {REGISTRY, AUTOSTART, REGISTRY_ALL, REGISTRY_USER}; }

std::vector<MenuItem> menuFor(ItemKind kind) {
  switch (kind) {
    case ItemKind::EnabledLeaf:
    case ItemKind::DisabledLeaf: {
      const bool enabled = kind == ItemKind::EnabledLeaf;
      return {{"&Edit", CMD_EDIT},
              enabled ? MenuItem{"&Disable", CMD_DISABLE} : MenuItem{"&Enable", CMD_ENABLE},
              {"&Delete", CMD_DELETE},
              {"&Run", CMD_RUN},
              {"&Info", CMD_ENTRY_INFO},
              {"&Online Info", CMD_ONLINE_INFO}};
    }
    case ItemKind::TypeNode:
      return {{"&Add startup entry", CMD_ADD},
              {"&Change load order", CMD_LOAD_ORDER},
              {"&Info", CMD_LOCATION_INFO}};
    case ItemKind::OtherNode:
      break;
  }
  return {{"&Info", CMD_LOCATION_INFO}};
}

std::string overwriteQuestion(const std::string& name) {
  return "A startup entry with the name " + name +
         " already exists.\nWould you like to overwrite it?";
}

const char* const SWITCHED_OFF_BY_WINDOWS =
    "\n\nWindows itself has switched this entry off (as its Task Manager does): the entry is in "
    "its place but Windows does not start it. Tick it to switch it on again.";

std::string entryInformation(const std::string& data, bool fileFound, bool switchedOffByWindows) {
  std::string text =
      "This command line will be executed when the computer is started:\n" + data + "\n\nStatus: ";
  const std::string windows = switchedOffByWindows ? SWITCHED_OFF_BY_WINDOWS : "";
  if (fileFound) return text + "This startup entry points on a valid file." + windows;
  return text + "\n" + PRODUCT_NAME +
         " can't find the file pointed out by this startup entry.\nThe reason for this may be "
         "that a program that created it has been\nuninstalled but left this entry behind. "
         "Perhaps due to an incomplete\nuninstall process." +
         windows;
}

std::string locationInformation(const std::string& description, const std::string& error) {
  std::string text = "General Information:\n" + description;
  if (!error.empty())
    text += "\n\nError description:\n" + error +
            "\n\nIf you have questions about this key, please include the text in this message "
            "in you email. Press CTRL+C to copy it.";
  return text;
}

bool isRundll(const std::string& fileName) {
  std::string lower;
  for (char c : fileName) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower == "rundll32.exe" || lower == "rundll.exe";
}

std::string rundllLibrary(const std::string& arguments) {
  const std::size_t at = arguments.rfind(".dll");
  return at == std::string::npos ? std::string() : arguments.substr(0, at + 4);
}

std::string onlineInfoName(int type, const std::string& name) {
  if (!StartupConstants::isAutostartType(type)) return name;
  return name.substr(0, name.find('.'));
}

std::string onlineInfoAddress(const std::string& configured, const std::string& file,
                              const std::string& name,
                              std::string (*encode)(const std::string&)) {
  const struct {
    const char* placeholder;
    std::string value;
  } fields[] = {{"{file}", encode(file)}, {"{name}", encode(name)}};
  if (configured.find(fields[0].placeholder) == std::string::npos &&
      configured.find(fields[1].placeholder) == std::string::npos)
    return configured + "/filedb/index.php?search=&filename=" + fields[0].value +
           "&startup=" + fields[1].value + "&affiliate=smr";
  // Filled in one pass: a value that holds a placeholder's text stays as it is.
  std::string address;
  for (std::size_t at = 0; at < configured.size();) {
    bool filled = false;
    for (const auto& field : fields) {
      const std::size_t length = std::string(field.placeholder).size();
      if (configured.compare(at, length, field.placeholder) == 0) {
        address += field.value;
        at += length;
        filled = true;
        break;
      }
    }
    if (!filled) address += configured[at++];
  }
  return address;
}

std::string manualAddress(const std::string& folder) {
  std::string address = "file://" + folder;
  if (address.back() != '\\') address += '\\';
  return address + MANUAL_FILE;
}

std::string instanceMutexName(const std::string& programFolder) {
  // Windows treats folder names without regard to case, and a backslash in a mutex name
  // separates namespaces: name the mutex by a hash of the folder's lower-case form.
  std::string folder;
  for (char c : programFolder) folder += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  std::uint64_t hash = 14695981039346656037ull;
  for (char c : folder) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return std::string("Stelmar.ProgramFolder.") + hex;
}

std::string storeTag(unsigned long indexHigh, unsigned long indexLow) {
  char tag[48];
  std::snprintf(tag, sizeof tag, "Stelmar.Store.%08lx%08lx", indexHigh, indexLow);
  return tag;
}

const char* const LOCK_FILE = "stelmar.lock";

const char* const ANOTHER_COPY_RUNS =
    "Stelmar is already running for this program folder, perhaps for another user or started "
    "under another drive letter or path.\n\nOnly one copy may work on its list of disabled "
    "entries at a time, so this copy ends. Please use the copy that is running, or close it "
    "first.";

}  // namespace products::stelmar::ui
