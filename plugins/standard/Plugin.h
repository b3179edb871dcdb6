// What the standard plug-in holds while it is loaded, shared by its entry points and its
// settings sheet.
#pragma once

#include <windows.h>

#include <string>

#include "plugins/standard/Enumerate.h"
#include "plugins/standard/ProtectedList.h"
#include "plugins/standard/Settings.h"

struct IUrlHistoryStg2;

namespace orvane {

struct PluginState {
  HMODULE module = nullptr;
  std::string settingsFile;
  Settings settings;
  HMODULE wininet = nullptr;
  CacheFunctions cache;
  IUrlHistoryStg2* history = nullptr;
  ProtectedBlock protectedList;
  bool tempActive = false;
  bool comInitialized = false;
};

PluginState& State();

// Loads the protected list unless it is in memory already.
void EnsureProtectedList();

// The modal settings sheet on page 0 (temporary files), 1 (internet files) or 2 (cookies).
void OpenSettingsDialog(int startPage);

}  // namespace orvane
