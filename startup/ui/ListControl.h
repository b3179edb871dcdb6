// A report-style list view whose columns are sized in percent of the control's width and
// whose rows can be sorted by a click on a column header.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

namespace products::stelmar::ui {

// The texts of one row, compared column by column byte for byte.
class ComparableRow {
 public:
  explicit ComparableRow(std::vector<std::string> row) : _row(std::move(row)) {}
  // Negative, zero or positive as this row's text at `subItem` sorts before, with or after.
  int compare(const ComparableRow& comparableRow, std::size_t subItem) const;

 private:
  std::vector<std::string> _row;
};

class ListControl {
 public:
  void attach(HWND list) { _list = list; }
  HWND hwnd() const { return _list; }

  void setColumns(const std::vector<std::pair<std::string, int>>& columnNameAndSize,
                  DWORD extendedStyle, bool sortable);
  void insertRow(const std::vector<std::string>& item, int index);
  std::vector<int> selectedRows() const;
  // The row under the cursor position of the message being handled, or -1.
  int rowAtCursor() const;
  void selectRow(int index);
  // The owner forwards the list's column-click notification.
  void onColumnClick(int column);

 private:
  static int CALLBACK compareRows(LPARAM lParam1, LPARAM lParam2, LPARAM self);

  HWND _list = nullptr;
  std::size_t _numberOfColumns = 0;
  std::vector<ComparableRow> comparableRows;
  bool _ascending = false;
  bool _sortable = true;
  int _sortColumn = 0;
};

}  // namespace products::stelmar::ui
