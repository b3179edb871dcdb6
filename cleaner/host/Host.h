// The life of one run of the host, without its windows: command line, settings, plug-ins,
// the item list, the quiet run and the shut-down writes. The main window drives it.
#pragma once

#include <string>

#include "cleaner/host/BinaryPlugins.h"
#include "cleaner/host/HostSettings.h"
#include "cleaner/host/ItemList.h"

class Host {
 public:
  // `programFolder` ends with a backslash.
  explicit Host(std::string programFolder);
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  // The folder of the running program file, with its trailing backslash.
  static std::string ModuleFolder();

  void ParseCommandLine(const std::string& commandLine);
  // Reads "morvel.ini" (interactive mode). False with the message when a colour is not a
  // number: start-up stops there.
  bool ReadSettings(std::string& error);
  // Loads every binary plug-in and fills the list, ticked from the preset argument.
  void LoadPluginsAndFill();
  // Quiet mode: cleans every ticked entry; with "/log:PATH" also appends the run's report
  // to that file.
  void CleanQuiet();
  // Writes the ticks under "Plugins" with "Last setting" (interactive mode only).
  bool SaveTicks(const std::string& selectedPreset, std::string& failedFile) const;
  // Shut-down steps two and three: destroy every item, then unload the plug-ins in load
  // order. Safe to call twice.
  void ReleasePlugins();
  // Writes HideItems=0, for the restart offer.
  bool ClearHideItems() const;

  bool quiet() const { return quiet_; }
  // Whether the list was filled: start-up stopped before that has no ticks to save.
  bool filled() const { return filled_; }
  const std::string& preset() const { return preset_; }
  const std::string& logPath() const { return logPath_; }
  const std::string& programFolder() const { return programFolder_; }
  std::string settingsPath() const { return programFolder_ + hostsettings::kFileName; }
  const HostSettings& settings() const { return settings_; }
  ItemList& list() { return list_; }
  const DLLList& plugins() const { return plugins_; }

 private:
  std::string programFolder_;
  bool quiet_ = false;
  bool filled_ = false;
  std::string preset_;
  std::string logPath_;  // quiet mode only; empty: no report
  HostSettings settings_;
  DLLList plugins_;
  ItemList list_;
};
