#include "cleaner/host/HostSettings.h"

#include "cleaner/host/IntegerText.h"
#include "common/Ini.h"

namespace hostsettings {

namespace {
struct ColourKey {
  const char* name;
  const char* defaultText;
};
constexpr ColourKey kColourKeys[kHostColourCount] = {
    {"WindowColor", "0x02DDDDDD"},     {"BtnClrNormal", "0x02DDDDDD"},
    {"BtnClrMouseOver", "0x02EFEFEF"}, {"BtnClrLBtnDown", "0x02FFDDAA"},
    {"BtnClrBorder", "0xFFFFFF"},      {"FrameColor", "0x800000"},
    {"SelectedColor", "0x02AA6633"},   {"ListBoxColor", "0x02E2B588"},
    {"TextColor", "0x000000"},         {"TextColorHighLight", "0x00FFFFFF"},
};
}  // namespace

bool Read(const std::string& iniPath, HostSettings& settings, std::string& error) {
  for (int i = 0; i < kHostColourCount; ++i) {
    const std::string text =
        ini::ReadString(iniPath, kSection, kColourKeys[i].name, kColourKeys[i].defaultText);
    long long value = 0;
    if (!integertext::TryParseInt64(text, value)) {
      error = integertext::NotValidIntegerMessage(text);
      return false;
    }
    settings.colours[i] = static_cast<COLORREF>(value & 0xFFFFFFFF);
  }
  settings.defaultButtons = ini::ReadFlag(iniPath, kSection, kDefaultButtons, false);
  settings.removeOnReboot = ini::ReadFlag(iniPath, kSection, kRemoveOnReboot, true);
  settings.hideItems = ini::ReadFlag(iniPath, kSection, kHideItems, false);
  return true;
}

}  // namespace hostsettings
