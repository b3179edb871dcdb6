// Control identifiers of the main window, shared with the tests that drive it.
#pragma once

// Resources (also read by the resource compiler, so plain macros).
#define IDD_INPUT_BOX 300
#define IDC_INPUT_PROMPT 301
#define IDC_INPUT_EDIT 302

#ifndef RC_INVOKED
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

// Commands of the item list's context menu.
enum MenuId { kMenuConfigure = 120, kMenuSelectAll, kMenuInvert, kMenuCancel };
constexpr const char* kConfigureText = "&Configure";
constexpr const char* kSelectAllText = "&Select All";
constexpr const char* kInvertSelectionText = "&Invert Selection";
constexpr const char* kCancelText = "C&ancel";

constexpr const char* kSaveSettingCaption = "Save setting";
constexpr const char* kSaveSettingPrompt = "Please enter a name for the setting:";
constexpr const char* kNameInUseCaption = "Name in use";
constexpr const char* kNameInUse = "This name is in use by Varnick. Please choose something different.";
constexpr const char* kOverwrite = "The setting already exists. Overwrite?";
}  // namespace mainform
#endif
