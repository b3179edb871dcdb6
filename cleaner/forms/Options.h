// The global options sheet ("&C"): the two global flags, and the autostart shortcut that
// starts the host in quiet mode at log-on.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace options {

constexpr const char* kSheetCaption = "Global Options";
constexpr const char* kPage1Title = "Global Options";
constexpr const char* kPage2Title = "&Auto Start";
constexpr const char* kLastUsedSettings = "(Last used settings)";
constexpr const char* kShortcutName = "Varnick";
constexpr const char* kShortcutDescription = "Starts Varnick in quiet mode";
constexpr int kShortcutIconIndex = 1;
constexpr const char* kInstalled = "Shortcut has been installed";
constexpr const char* kInstallFailed = "Sorry, creation of the shortcut failed. Please try manually.";
constexpr const char* kRemoved = "OK, shortcut has been removed.";
constexpr const char* kRemoveFailed = "Sorry, removal of the shortcut failed. Please try manually.";
constexpr const char* kPageCreationFailed = "Creation of property page failed.";

// Page controls. The buttons' ids are not 1 and 2: those are the sheet's OK and Cancel, to
// which the dialog manager would send Enter on a focused "&Install" or "&Remove".
enum { kRemoveOnRebootBox = 0, kHideItemsBox = 1, kPresetList = 100, kInstallBtn = 101, kRemoveBtn = 102,
       kRunLogBox = 4 };
// The report of unattended runs, beside the program and its settings, when the autostart
// page's box is ticked.
constexpr const char* kRunLogName = "morvel.log";

struct Context {
  std::string programFolder;       // where "morvel.ini" lies
  bool removeOnReboot = false;     // current values shown on page 1
  bool hideItems = false;
  std::vector<std::string> presets;  // the preset box's names, in its order
};

// Shows the sheet modally, opening at `startPage` (1 or 2). On OK, page 1 writes its flags
// and RemoveOnReboot takes effect at once.
void OpenGlobalOptions(int startPage, HWND owner, const Context& context);

// The shortcut "<name>.lnk" in the user's start-up folder, to the running program.
bool CreateShortcut(const std::string& name, const std::string& description, const std::string& arguments,
                    int iconIndex);
bool DeleteShortcut(const std::string& name);
// Full path of that shortcut; empty when the start-up folder is unknown.
std::string ShortcutPath(const std::string& name);

}  // namespace options
