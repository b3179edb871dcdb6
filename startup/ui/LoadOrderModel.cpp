#include "startup/ui/LoadOrderModel.h"

#include <utility>

#include "startup/StartupConstants.h"
#include "startup/platform/errorresources/Assertion.h"

namespace products::stelmar::ui {

const char* const LoadOrderModel::DISABLED_MARK = " (disabled)";

std::vector<std::string> LoadOrderModel::row(std::size_t i) const {
  const StartupItem& entry = _entries[i];
  const bool disabled = entry.getState() != StartupConstants::ENABLED;
  return {std::to_string(i + 1), entry.getName() + (disabled ? DISABLED_MARK : ""),
          entry.getData()};
}

LoadOrderModel::Buttons LoadOrderModel::buttons(const std::vector<int>& selectedRows) const {
  if (selectedRows.empty() || _entries.size() == 1) return {false, false};
  const std::size_t r = static_cast<std::size_t>(selectedRows.front());
  return {r > 0, r + 1 != _entries.size()};
}

int LoadOrderModel::moveUp(const std::vector<int>& sr) {
  STELMAR_ASSERT(sr.size() == 1);
  if (sr.size() != 1) return -1;
  const int currentRow = sr.front();
  STELMAR_ASSERT(currentRow > 0);
  if (currentRow <= 0 || static_cast<std::size_t>(currentRow) >= _entries.size()) return -1;
  std::swap(_entries[currentRow], _entries[currentRow - 1]);
  return currentRow - 1;
}

int LoadOrderModel::moveDown(const std::vector<int>& sr) {
  STELMAR_ASSERT(sr.size() == 1);
  if (sr.size() != 1) return -1;
  const int currentRow = sr.front();
  const bool below = currentRow >= 0 && static_cast<std::size_t>(currentRow) + 1 < _entries.size();
  // The condition as the report names it.
  if (!below) errorresources::assertion("currentRow < _entries.size()-1", __FILE__, __LINE__);
  if (!below) return -1;
  std::swap(_entries[currentRow], _entries[currentRow + 1]);
  return currentRow + 1;
}

}  // namespace products::stelmar::ui
