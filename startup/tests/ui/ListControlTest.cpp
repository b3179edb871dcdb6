// The list wrapper on a real list view of this process: a sort over rows whose item data
// names no row of the wrapper reports it with the checks' own texts and keeps the rows.
#include "startup/ui/ListControl.h"

#include <gtest/gtest.h>

#include "tests/harness/Harness.h"

namespace {

TEST(ListControl, SortingRowsOfUnknownDataReportsBothChecks) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  ASSERT_TRUE(InitCommonControlsEx(&controls));
  HWND window = CreateWindowExA(0, WC_LISTVIEWA, "", LVS_REPORT, 0, 0, 200, 100, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(nullptr, window);
  products::stelmar::ui::ListControl list;
  list.attach(window);
  list.setColumns({{"Name", 50}, {"Data", 50}}, 0, true);
  list.insertRow({"b", "1"}, 0);
  list.insertRow({"a", "2"}, 1);
  for (int row = 0; row < 2; ++row) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = 5 + row;
    ListView_SetItem(window, &item);
  }
  harness::TempFolder folder;
  char previous[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, previous);
  SetCurrentDirectoryA(folder.path().c_str());
  list.onColumnClick(0);
  SetCurrentDirectoryA(previous);
  const std::string report = harness::ReadTextFile(folder / "assertion.txt");
  EXPECT_NE(std::string::npos, report.find("lParam1 < comparableRows.size()")) << report;
  EXPECT_NE(std::string::npos, report.find("lParam2 < comparableRows.size()"));
  EXPECT_EQ(2, ListView_GetItemCount(window));
  DestroyWindow(window);
}

}  // namespace
