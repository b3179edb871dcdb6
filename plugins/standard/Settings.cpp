#include "plugins/standard/Settings.h"

#include <windows.h>

#include <vector>

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
  // The host's program file (the process's own module), read whole whatever its length.
  std::vector<char> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return kSettingsFileName;
    if (length < path.size()) return SettingsFolder(std::string(path.data(), length)) + kSettingsFileName;
    path.resize(path.size() * 2);
  }
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
