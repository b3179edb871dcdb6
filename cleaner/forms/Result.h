// The results window TResultForm: the result lines of a cleaning run, shown modally.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "cleaner/host/HostSettings.h"

namespace resultform {
constexpr const char* kClassName = "TResultForm";
constexpr const char* kCaption = "Varnick Results";
constexpr const char* kHeading = "Varnick results:";
enum ControlId { kHeadingLabel = 200, kResult, kExitBtn, kBackBtn };

// Shows the lines until the window is closed; true when it was closed with "&Back".
// Takes and keeps its place through "formpos.ini" in `programFolder`.
bool Show(HINSTANCE instance, const std::vector<std::string>& lines, const HostSettings& settings,
          const std::string& programFolder);
}  // namespace resultform
