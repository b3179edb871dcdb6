// Control identifiers of the main window, shared with the tests that drive it.
#pragma once

namespace mainform {
constexpr const char* kClassName = "TMainForm";
constexpr const char* kTitle = "Varnick";
constexpr const char* kWaitClassName = "TWaitForm";
constexpr const char* kWaitTitle = "Please wait...";

enum ControlId {
  kShape1 = 100,
  kLabel1,
  kCleaningItems,
  kLblTtl,
  kSettingsBox,
  kSaveCfg,
  kRmCfg,
  kCleanBtn,
  kAboutBtn,
  kExitBtn,
  kCfgBtn,
};
}  // namespace mainform
