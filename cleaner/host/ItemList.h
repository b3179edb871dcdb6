// The host's item list as a model: one entry per cleaning item, with its caption, the
// item object (owned until shut-down) and its tick.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cleaner/textplugin/PlugInfo.h"

class DLLList;

struct ListEntry {
  std::string caption;
  std::unique_ptr<PlugInfo> item;
  bool ticked = false;
};

class ItemList {
 public:
  // The list caption of an item: title (size; count item[s]).
  static std::string ItemCaption(PlugInfo& item);

  // Builds the list once. `section` names where the ticks come from; when empty, the
  // preset named by "Last setting", else "Plugins".
  void FillItemList(const std::string& programFolder, std::string section, bool hideItems,
                    const DLLList& plugins);

  // Appends an item when HideItems lets it in (with HideItems on, only items whose count
  // found is above zero), and ticks it from `section` of `iniPath`. Returns whether it was
  // taken; an item that is not taken is destroyed.
  bool Offer(std::unique_ptr<PlugInfo> item, bool hideItems, const std::string& iniPath,
             const std::string& section);

  // Sum of GetSizeFound over the ticked entries.
  long long SelectedSizeFound() const;
  // Writes every tick under its title into `section`, then "Last setting" in "MORVEL".
  // False (and the file's path in `failedFile`) when the platform refuses a write.
  bool SaveSelection(const std::string& iniPath, const std::string& section,
                     const std::string& selectedPreset, std::string& failedFile) const;
  // Reverses one entry's tick; false when there is no such entry.
  bool ToggleTick(int index);
  // Ticks every entry, or reverses every tick, from the last entry to the first.
  void SelectAll();
  void InvertSelection();
  // Destroys every item object, in list order.
  void Clear() { entries_.clear(); }

  std::vector<ListEntry>& entries() { return entries_; }
  const std::vector<ListEntry>& entries() const { return entries_; }

 private:
  // Step four of filling the list: the text plug-ins of "plug-ins\", sorted, each prepared
  // and offered.
  void AddTextPlugins(const std::string& programFolder, bool hideItems, const std::string& iniPath,
                      const std::string& section);

  std::vector<ListEntry> entries_;
};

// Locale decimal separator for the byte wording.
char DecimalSeparator();

namespace itemlist {
constexpr const char* kSettingsFile = "Morvel.ini";
constexpr const char* kMainSection = "MORVEL";
constexpr const char* kLastSetting = "Last setting";
constexpr const char* kPluginsSection = "Plugins";
constexpr const char* kTextPluginFolder = "plug-ins\\";
}  // namespace itemlist
