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

// The library and the history store are plain handles on purpose: they are released in the
// library's detach only when the host unloads it, never while the process ends (other
// libraries may be gone by then), which an owner's destructor could not tell apart.
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
