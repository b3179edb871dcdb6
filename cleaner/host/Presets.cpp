#include "cleaner/host/Presets.h"

#include <windows.h>

#include "cleaner/host/ItemList.h"
#include "cleaner/host/PresetNames.h"
#include "common/Ini.h"

namespace {
// The box sorts as the platform compares texts for the user, without regard to case.
bool SortsBefore(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()),
                        b.c_str(), static_cast<int>(b.size())) == CSTR_LESS_THAN;
}
}  // namespace

void PresetBox::LoadPresetNames(const std::string& iniPath) {
  names_.clear();
  selected_ = -1;
  for (const std::string& name :
       presetnames::Decode(ini::ReadRawString(iniPath, itemlist::kMainSection, presets::kSavedSettings, "")))
    Add(name);
  selected_ = -1;
  const std::string last = ini::ReadString(iniPath, itemlist::kMainSection, presets::kLastSettingRead, "");
  selected_ = Find(last);
}

bool PresetBox::StorePresetNames(const std::string& iniPath) const {
  return ini::WriteString(iniPath, itemlist::kMainSection, presets::kSavedSettings, presetnames::Encode(names_));
}

int PresetBox::Find(const std::string& name) const {
  for (size_t i = 0; i < names_.size(); ++i)
    if (presetnames::SameName(names_[i], name)) return static_cast<int>(i);
  return -1;
}

int PresetBox::Add(const std::string& name) {
  size_t at = 0;
  while (at < names_.size() && !SortsBefore(name, names_[at])) ++at;
  names_.insert(names_.begin() + static_cast<std::ptrdiff_t>(at), name);
  if (selected_ >= static_cast<int>(at)) ++selected_;
  return static_cast<int>(at);
}

void PresetBox::RemoveSelected() {
  if (selected_ < 0) return;
  names_.erase(names_.begin() + selected_);
  selected_ = -1;
}

namespace presets {

void TickFromSection(ItemList& list, const std::string& iniPath, const std::string& section) {
  for (ListEntry& entry : list.entries()) entry.ticked = ini::ReadFlag(iniPath, section, entry.item->GetTitle(), false);
}

void ApplySelected(ItemList& list, const PresetBox& box, const std::string& iniPath) {
  if (box.selected() < 0) return;
  std::string section = box.SelectedName();
  if (section.empty()) section = ini::ReadString(iniPath, itemlist::kMainSection, itemlist::kLastSetting, "");
  if (section.empty()) section = itemlist::kPluginsSection;
  TickFromSection(list, iniPath, section);
}

SaveOutcome SavePreset(ItemList& list, PresetBox& box, const std::string& iniPath, const std::string& name,
                       const std::function<bool()>& confirmOverwrite) {
  const bool known = box.Find(name) >= 0;
  if (known && !confirmOverwrite()) return SaveOutcome::Declined;
  std::string failed;
  if (!list.SaveSelection(iniPath, name, box.SelectedName(), failed)) return SaveOutcome::WriteFailed;
  if (!known) box.Select(box.Add(name));
  return box.StorePresetNames(iniPath) ? SaveOutcome::Stored : SaveOutcome::WriteFailed;
}

bool RemoveSelected(PresetBox& box, const std::string& iniPath) {
  if (box.selected() < 0) return false;
  if (!ini::EraseSection(iniPath, box.SelectedName())) return false;
  box.RemoveSelected();
  return box.StorePresetNames(iniPath);
}

bool SaveAs(ItemList& list, PresetBox& box, const std::string& iniPath, const SaveAsDialogs& dialogs) {
  for (;;) {
    std::string name;
    if (!dialogs.askName(name)) return false;
    if (name.empty()) continue;
    if (presetnames::IsReserved(name)) {
      dialogs.nameInUse();
      continue;
    }
    const SaveOutcome outcome = SavePreset(list, box, iniPath, name, dialogs.confirmOverwrite);
    if (outcome == SaveOutcome::Declined) continue;
    if (outcome == SaveOutcome::WriteFailed) dialogs.writeFailed();
    return true;
  }
}

}  // namespace presets
