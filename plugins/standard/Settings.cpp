#include "plugins/standard/Settings.h"

#include <windows.h>

#include "common/Ini.h"
#include "plugins/standard/Rules.h"

namespace orvane {

const char* const kSettingsFileName = "plugins.ini";
const char* const kSettingsSection = "STD SETTINGS";
const char* const kDelReadonlyKey = "DelReadonly";
const char* const kDelSubfoldersKey = "DelSubfolders";
const char* const kDelOfflineKey = "DelOffline";
const char* const kCookieFilterOnKey = "CookieFilterOn";
const char* const kDaysToKeepKey = "DaysToKeep";

std::string SettingsFilePath() {
  const char* line = GetCommandLineA();
  return SettingsFolder(line ? line : "") + kSettingsFileName;
}

Settings ReadSettings(const std::string& file) {
  Settings s;
  s.delReadonly = ini::ReadFlag(file, kSettingsSection, kDelReadonlyKey, true);
  s.delSubfolders = ini::ReadFlag(file, kSettingsSection, kDelSubfoldersKey, true);
  s.delOffline = ini::ReadFlag(file, kSettingsSection, kDelOfflineKey, true);
  s.cookieFilterOn = ini::ReadFlag(file, kSettingsSection, kCookieFilterOnKey, false);
  s.daysToKeep = ini::ReadInt(file, kSettingsSection, kDaysToKeepKey, 0);
  return s;
}

}  // namespace orvane
