#include "startup/ui/ListControl.h"

#include <algorithm>

#include "startup/platform/errorresources/Assertion.h"

namespace products::stelmar::ui {

int ComparableRow::compare(const ComparableRow& comparableRow, std::size_t subItem) const {
  STELMAR_ASSERT(comparableRow._row.size() == _row.size());
  STELMAR_ASSERT(subItem < _row.size());
  if (subItem >= _row.size() || subItem >= comparableRow._row.size()) return 0;
  return _row[subItem].compare(comparableRow._row[subItem]);
}

void ListControl::setColumns(const std::vector<std::pair<std::string, int>>& columnNameAndSize,
                             DWORD extendedStyle, bool sortable) {
  STELMAR_ASSERT(columnNameAndSize.size() >= 1);
  ListView_SetExtendedListViewStyle(_list, extendedStyle);
  // The columns share the width inside the frame, less a vertical scroll bar's, so that a
  // long list never needs a horizontal one as well.
  RECT client{};
  GetClientRect(_list, &client);
  const int width = std::max(0, static_cast<int>(client.right - client.left) -
                                    GetSystemMetrics(SM_CXVSCROLL));
  _sortable = sortable;
  int totalSize = 0;
  for (std::size_t i = 0; i < columnNameAndSize.size(); ++i) {
    std::string header = columnNameAndSize[i].first;
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = &header[0];
    column.cx = static_cast<int>(columnNameAndSize[i].second * 0.01 * width);
    column.iSubItem = static_cast<int>(i);
    SendMessageA(_list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    totalSize += columnNameAndSize[i].second;
  }
  STELMAR_ASSERT(totalSize <= 100);
  _numberOfColumns = columnNameAndSize.size();
}

void ListControl::insertRow(const std::vector<std::string>& item, int index) {
  STELMAR_ASSERT(item.size() == _numberOfColumns);
  STELMAR_ASSERT(index <= ListView_GetItemCount(_list));
  if (item.empty()) return;
  std::vector<std::string> texts = item;
  LVITEMA row{};
  row.mask = LVIF_TEXT | LVIF_PARAM;
  row.iItem = index;
  row.pszText = &texts[0][0];
  row.lParam = static_cast<LPARAM>(comparableRows.size());
  const int actual = static_cast<int>(SendMessageA(_list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row)));
  // Only as many texts as there are columns have a place.
  for (std::size_t i = 1; i < texts.size() && i < _numberOfColumns; ++i) {
    LVITEMA sub{};
    sub.iSubItem = static_cast<int>(i);
    sub.pszText = &texts[i][0];
    SendMessageA(_list, LVM_SETITEMTEXTA, actual, reinterpret_cast<LPARAM>(&sub));
  }
  comparableRows.emplace_back(item);
}

std::vector<int> ListControl::selectedRows() const {
  std::vector<int> rows;
  int i = -1;
  while ((i = ListView_GetNextItem(_list, i, LVNI_SELECTED)) != -1) rows.push_back(i);
  return rows;
}

int ListControl::rowAtCursor() const {
  const DWORD position = GetMessagePos();
  POINT point{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
  ScreenToClient(_list, &point);
  const int count = ListView_GetItemCount(_list);
  const int top = ListView_GetTopIndex(_list);
  int last = top + ListView_GetCountPerPage(_list);
  if (last > count) last = count;
  for (int i = top; i <= last && i < count; ++i) {
    RECT bounds{};
    if (ListView_GetItemRect(_list, i, &bounds, LVIR_BOUNDS) && PtInRect(&bounds, point)) return i;
  }
  return -1;
}

void ListControl::selectRow(int index) {
  if (index == -1) return;
  ListView_SetItemState(_list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void ListControl::onColumnClick(int column) {
  if (!_sortable) return;
  _ascending = !_ascending;
  _sortColumn = column;
  ListView_SortItems(_list, compareRows, reinterpret_cast<LPARAM>(this));
}

int CALLBACK ListControl::compareRows(LPARAM firstData, LPARAM secondData, LPARAM self) {
  const auto* list = reinterpret_cast<const ListControl*>(self);
  const std::vector<ComparableRow>& comparableRows = list->comparableRows;
  // Named as the assertion texts name them; a negative item data becomes out of range.
  const auto lParam1 = static_cast<std::size_t>(firstData);
  const auto lParam2 = static_cast<std::size_t>(secondData);
  STELMAR_ASSERT(lParam1 < comparableRows.size());
  STELMAR_ASSERT(lParam2 < comparableRows.size());
  if (lParam1 >= comparableRows.size() || lParam2 >= comparableRows.size()) return 0;
  const ComparableRow& first = comparableRows[lParam1];
  const ComparableRow& second = comparableRows[lParam2];
  const auto column = static_cast<std::size_t>(list->_sortColumn);
  return list->_ascending ? first.compare(second, column) : second.compare(first, column);
}

}  // namespace products::stelmar::ui
