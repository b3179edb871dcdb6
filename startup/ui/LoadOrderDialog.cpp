#include "startup/ui/LoadOrderDialog.h"

#include <commctrl.h>

#include "startup/platform/errorresources/Assertion.h"
#include "startup/platform/errorresources/Exceptions.h"
#include "startup/ui/CentreOnOwner.h"
#include "startup/ui/StelmarIds.h"

namespace products::stelmar::ui {

bool LoadOrderDialog::run(HWND owner) {
  return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LOAD_ORDER), owner,
                         dialogProc, reinterpret_cast<LPARAM>(this)) == IDOK;
}

INT_PTR CALLBACK LoadOrderDialog::dialogProc(HWND dialog, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrA(dialog, DWLP_USER, lParam);
  auto* self = reinterpret_cast<LoadOrderDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (!self) return FALSE;
  if (message == WM_INITDIALOG) self->_dialog = dialog;
  try {
    return self->handle(message, wParam, lParam);
  } catch (const exceptions::Exception& e) {
    self->_errorHandler.handleError(e.getMessage());
  } catch (...) {
    STELMAR_ASSERT(false);
  }
  return FALSE;
}

INT_PTR LoadOrderDialog::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      centreOnOwner(_dialog);
      _list.attach(GetDlgItem(_dialog, IDC_ORDER_LIST));
      _list.setColumns({{"Pos", 10}, {"Startup entry", 60}, {"Points on", 30}},
                       LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES, false);
      fill();
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == IDC_ORDER_LIST && (header->code == NM_CLICK || header->code == NM_RCLICK)) {
        const int row = _list.rowAtCursor();
        if (row != -1) _list.selectRow(row);
        updateButtons();
      }
      return FALSE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_MOVE_UP:
          moved(_model.moveUp(_list.selectedRows()));
          return TRUE;
        case IDC_MOVE_DOWN:
          moved(_model.moveDown(_list.selectedRows()));
          return TRUE;
        case IDOK:
        case IDCANCEL:
          EndDialog(_dialog, LOWORD(wParam));
          return TRUE;
      }
  }
  return FALSE;
}

void LoadOrderDialog::fill() {
  ListView_DeleteAllItems(_list.hwnd());
  for (std::size_t i = 0; i < _model.entries().size(); ++i)
    _list.insertRow(_model.row(i), static_cast<int>(i));
  updateButtons();
}

void LoadOrderDialog::updateButtons() {
  const LoadOrderModel::Buttons buttons = _model.buttons(_list.selectedRows());
  EnableWindow(GetDlgItem(_dialog, IDC_MOVE_UP), buttons.up);
  EnableWindow(GetDlgItem(_dialog, IDC_MOVE_DOWN), buttons.down);
}

void LoadOrderDialog::moved(int row) {
  if (row < 0) return;
  fill();
  SetFocus(_list.hwnd());
  _list.selectRow(row);
  updateButtons();
}

}  // namespace products::stelmar::ui
