// The dialog that reorders the entries of one registry location: a numbered list and
// buttons that move the selected entry up or down. It works on its own copy; the caller
// hands entries() to the store after OK.
#pragma once

#include <windows.h>

#include <vector>

#include "startup/ErrorHandler.h"
#include "startup/StartupItem.h"
#include "startup/ui/ListControl.h"
#include "startup/ui/LoadOrderModel.h"

namespace products::stelmar::ui {

class LoadOrderDialog {
 public:
  LoadOrderDialog(ErrorHandler& errorHandler, std::vector<StartupItem> entries)
      : _errorHandler(errorHandler), _model(std::move(entries)) {}
  // True after OK.
  bool run(HWND owner);
  std::vector<StartupItem> entries() const { return _model.entries(); }

 private:
  static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
  void fill();
  void updateButtons();
  void moved(int row);

  ErrorHandler& _errorHandler;
  LoadOrderModel _model;
  ListControl _list;
  HWND _dialog = nullptr;
};

}  // namespace products::stelmar::ui
