// The settings of "morvel.ini" that start-up reads, with their defaults.
#pragma once

#include <windows.h>

#include <string>

enum HostColour {
  WindowColor,
  BtnClrNormal,
  BtnClrMouseOver,
  BtnClrLBtnDown,
  BtnClrBorder,
  FrameColor,
  SelectedColor,
  ListBoxColor,
  TextColor,
  TextColorHighLight,
  kHostColourCount
};

struct HostSettings {
  COLORREF colours[kHostColourCount] = {};  // 0x00BBGGRR; 0x02 on top asks for the palette
  bool defaultButtons = false;
  bool removeOnReboot = false;
  bool hideItems = false;
};

namespace hostsettings {

constexpr const char* kFileName = "morvel.ini";
constexpr const char* kSection = "morvel";
constexpr const char* kDefaultButtons = "DefaultButtons";
constexpr const char* kRemoveOnReboot = "RemoveOnReboot";
constexpr const char* kHideItems = "HideItems";

// Reads the thirteen keys in order. A colour that is not a valid integer stops the reading
// there: the keys after it keep their zero values and `error` receives the message.
bool Read(const std::string& iniPath, HostSettings& settings, std::string& error);

}  // namespace hostsettings
