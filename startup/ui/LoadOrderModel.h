// The load-order dialog without its window: its own copy of one location's entries, the
// state of its move buttons and the moves. Standard library only.
#pragma once

#include <string>
#include <vector>

#include "startup/StartupItem.h"

namespace products::stelmar::ui {

class LoadOrderModel {
 public:
  explicit LoadOrderModel(std::vector<StartupItem> entries) : _entries(std::move(entries)) {}

  // Follows the name of an entry that is disabled (kept aside, or switched off by Windows).
  static const char* const DISABLED_MARK;

  const std::vector<StartupItem>& entries() const { return _entries; }
  // The texts of row i: position (i + 1), name (marked when disabled), data.
  std::vector<std::string> row(std::size_t i) const;

  struct Buttons {
    bool up;
    bool down;
  };
  // `selectedRows` as the list reports them (at most one).
  Buttons buttons(const std::vector<int>& selectedRows) const;

  // Each checks the selection (an assertion when it does not allow the move, which then
  // does nothing) and returns the row to select afterwards, or -1 when nothing moved.
  int moveUp(const std::vector<int>& selectedRows);
  int moveDown(const std::vector<int>& selectedRows);

 private:
  std::vector<StartupItem> _entries;
};

}  // namespace products::stelmar::ui
