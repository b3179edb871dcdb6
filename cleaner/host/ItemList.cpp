#include "cleaner/host/ItemList.h"

#include <windows.h>

#include "cleaner/host/BinaryPlugins.h"
#include "cleaner/host/OldPlugInfo.h"
#include "cleaner/host/Wording.h"
#include "cleaner/textplugin/Progress.h"
#include "cleaner/textplugin/Textpluginfo.h"
#include "common/Ini.h"

char DecimalSeparator() {
  char text[8] = ".";
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, sizeof text) < 2) return '.';
  return text[0];
}

std::string ItemList::ItemCaption(PlugInfo& item) {
  return wording::Caption(item.GetTitle(), item.GetSizeFound(), item.GetCountFound(),
                          DecimalSeparator());
}

void ItemList::FillItemList(const std::string& programFolder, std::string section,
                            bool hideItems, const DLLList& plugins) {
  const std::string iniPath = programFolder + itemlist::kSettingsFile;
  entries_.clear();
  if (section.empty())
    section = ini::ReadString(iniPath, itemlist::kMainSection, itemlist::kLastSetting, "");
  if (section.empty()) section = itemlist::kPluginsSection;

  for (DLLInfo* info = plugins.head(); info; info = info->next) {
    if (!info->items) continue;
    for (int i = 0; i < info->itemCount; ++i) {
      if (info->items[i]) Offer(std::make_unique<OldPlugInfo>(info->items[i]), hideItems, iniPath, section);
    }
  }
  AddTextPlugins(programFolder, hideItems, iniPath, section);
}

void ItemList::AddTextPlugins(const std::string& programFolder, bool hideItems,
                              const std::string& iniPath, const std::string& section) {
  const std::string folder = programFolder + itemlist::kTextPluginFolder;
  for (const std::string& name : SortedFileNames(folder, textplugin::kPattern)) {
    auto item = std::make_unique<TextPlugInfo>(folder + name);
    progress::Counting(item->GetTitle());
    item->Prepare();
    Offer(std::move(item), hideItems, iniPath, section);  // destroyed when not taken
  }
}

bool ItemList::Offer(std::unique_ptr<PlugInfo> item, bool hideItems, const std::string& iniPath,
                     const std::string& section) {
  if (hideItems && item->GetCountFound() <= 0) return false;
  ListEntry entry;
  entry.caption = ItemCaption(*item);
  entry.ticked = ini::ReadFlag(iniPath, section, item->GetTitle(), false);
  entry.item = std::move(item);
  entries_.push_back(std::move(entry));
  return true;
}

long long ItemList::SelectedSizeFound() const {
  long long total = 0;
  for (const ListEntry& entry : entries_)
    if (entry.ticked) total += entry.item->GetSizeFound();
  return total;
}

bool ItemList::SaveSelection(const std::string& iniPath, const std::string& section,
                             const std::string& selectedPreset, std::string& failedFile) const {
  for (const ListEntry& entry : entries_) {
    if (!ini::WriteFlag(iniPath, section, entry.item->GetTitle(), entry.ticked)) {
      failedFile = iniPath;
      return false;
    }
  }
  if (!ini::WriteString(iniPath, itemlist::kMainSection, itemlist::kLastSetting, selectedPreset)) {
    failedFile = iniPath;
    return false;
  }
  return true;
}

bool ItemList::ToggleTick(int index) {
  if (index < 0 || static_cast<size_t>(index) >= entries_.size()) return false;
  entries_[index].ticked = !entries_[index].ticked;
  return true;
}

void ItemList::SelectAll() {
  for (size_t i = entries_.size(); i-- > 0;) entries_[i].ticked = true;
}

void ItemList::InvertSelection() {
  for (size_t i = entries_.size(); i-- > 0;) entries_[i].ticked = !entries_[i].ticked;
}
