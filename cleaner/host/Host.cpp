#include "cleaner/host/Host.h"

#include <windows.h>

#include "cleaner/host/Cleaning.h"
#include "cleaner/host/CommandLine.h"
#include "common/Ini.h"

Host::Host(std::string programFolder) : programFolder_(std::move(programFolder)) {}

Host::~Host() { ReleasePlugins(); }

std::string Host::ModuleFolder() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, n < MAX_PATH ? n : 0);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

void Host::ParseCommandLine(const std::string& commandLine) {
  const std::vector<std::string> arguments = commandline::Split(commandLine);
  const commandline::Mode mode =
      commandline::ParseFirstArgument(arguments.size() > 1 ? arguments[1] : std::string());
  quiet_ = mode.quiet;
  preset_ = mode.preset;
  logPath_ = quiet_ && arguments.size() > 2 ? commandline::ParseLogArgument(arguments[2]) : std::string();
}

bool Host::ReadSettings(std::string& error) {
  settings_ = HostSettings{};
  const bool ok = hostsettings::Read(settingsPath(), settings_, error);
  RemoveOnReboot = settings_.removeOnReboot;
  return ok;
}

void Host::LoadPluginsAndFill() {
  plugins_.LoadAll(programFolder_);
  list_.FillItemList(programFolder_, preset_, settings_.hideItems, plugins_);
  filled_ = true;
}

void Host::CleanQuiet() {
  const CleaningResult result = RunCleaning(list_, false, !logPath_.empty());
  // A report that cannot be written changes nothing else of the run.
  if (!logPath_.empty()) AppendRunReport(logPath_, result.lines);
}

bool Host::SaveTicks(const std::string& selectedPreset, std::string& failedFile) const {
  return list_.SaveSelection(programFolder_ + itemlist::kSettingsFile, itemlist::kPluginsSection,
                             selectedPreset, failedFile);
}

void Host::ReleasePlugins() {
  list_.Clear();
  plugins_.UnloadAll();
}

bool Host::ClearHideItems() const {
  return ini::WriteFlag(settingsPath(), hostsettings::kSection, hostsettings::kHideItems, false);
}
