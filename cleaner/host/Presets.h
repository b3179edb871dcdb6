// Presets: the ticks of the list stored under a name of the user's, and the preset box
// that lists those names, kept sorted without regard to case, with at most one selected.
#pragma once

#include <functional>
#include <string>
#include <vector>

class ItemList;

class PresetBox {
 public:
  // Fills the box from "SavedSettings" and selects the name that "Last Setting" holds.
  void LoadPresetNames(const std::string& iniPath);
  // Writes every name, in box order, as "SavedSettings".
  bool StorePresetNames(const std::string& iniPath) const;

  const std::vector<std::string>& names() const { return names_; }
  int selected() const { return selected_; }
  std::string SelectedName() const { return selected_ >= 0 ? names_[selected_] : std::string(); }
  void Select(int index) { selected_ = index >= 0 && index < static_cast<int>(names_.size()) ? index : -1; }
  void ClearSelection() { selected_ = -1; }
  // Index of a name compared without regard to case, or -1.
  int Find(const std::string& name) const;
  // Inserts in sorted place and returns the index; the selection follows its name.
  int Add(const std::string& name);
  void RemoveSelected();

 private:
  std::vector<std::string> names_;
  int selected_ = -1;
};

namespace presets {

constexpr const char* kSavedSettings = "SavedSettings";
constexpr const char* kLastSettingRead = "Last Setting";

// Ticks every entry from the key of its title in `section` (missing: unticked).
void TickFromSection(ItemList& list, const std::string& iniPath, const std::string& section);

// A name chosen in the box: ticks from that preset, or from "Last setting", or "Plugins".
void ApplySelected(ItemList& list, const PresetBox& box, const std::string& iniPath);

enum class SaveOutcome { Stored, Declined, WriteFailed };
// Stores the ticks under `name`. A name the box already holds is overwritten only when
// `confirmOverwrite` agrees. "Last setting" receives the name selected before this step.
SaveOutcome SavePreset(ItemList& list, PresetBox& box, const std::string& iniPath,
                       const std::string& name, const std::function<bool()>& confirmOverwrite);

// What "&Save as..." asks and tells the user.
struct SaveAsDialogs {
  std::function<bool(std::string& name)> askName;  // false when the user cancels
  std::function<void()> nameInUse;                 // the name is one the host uses itself
  std::function<bool()> confirmOverwrite;
  std::function<void()> writeFailed;
};
// Asks for names until one is stored or the user cancels: an empty name asks again, a
// reserved one says so and asks again, and so does a declined overwrite. True when the
// box may have changed (stored, or a write failed on the way).
bool SaveAs(ItemList& list, PresetBox& box, const std::string& iniPath, const SaveAsDialogs& dialogs);

// Erases the selected preset's section and its name. False when nothing is selected or a
// write fails.
bool RemoveSelected(PresetBox& box, const std::string& iniPath);

}  // namespace presets
