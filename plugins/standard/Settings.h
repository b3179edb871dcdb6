// The standard plug-in's settings: section "STD SETTINGS" of "plugins.ini" in the host's
// folder, which the plug-in finds from the path of the host's program file.
#pragma once

#include <string>

namespace orvane {

extern const char* const kSettingsFileName;
extern const char* const kSettingsSection;
extern const char* const kDelReadonlyKey;
extern const char* const kDelSubfoldersKey;
extern const char* const kDelOfflineKey;
extern const char* const kCookieFilterOnKey;
extern const char* const kDaysToKeepKey;

struct Settings {
  bool delReadonly = true;
  bool delSubfolders = true;
  bool delOffline = true;
  bool cookieFilterOn = false;
  int daysToKeep = 0;
};

// The folder of the host's program file followed by "plugins.ini".
std::string SettingsFilePath();
Settings ReadSettings(const std::string& file);

}  // namespace orvane
