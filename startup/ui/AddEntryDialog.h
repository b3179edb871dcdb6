// The dialog that adds or edits an entry: its name and its command line, with a Browse
// button. OK closes it only when both are given and the command line's file exists.
#pragma once

#include <windows.h>

#include <string>

#include "startup/ErrorHandler.h"

namespace products::stelmar::ui {

class AddEntryDialog {
 public:
  static const char* const BROWSE_FILTER;

  // `nativeView`: the entry goes to the native view of 64-bit Windows, whose programs are
  // looked for as 64-bit Windows finds them.
  AddEntryDialog(ErrorHandler& errorHandler, std::string name, std::string path,
                 bool nativeView = false)
      : _errorHandler(errorHandler),
        _name(std::move(name)),
        _path(std::move(path)),
        _nativeView(nativeView) {}
  // True after OK.
  bool run(HWND owner);
  const std::string& name() const { return _name; }
  const std::string& path() const { return _path; }

 private:
  static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  void readBoxes();
  void writeBoxes();
  void onOk();
  void onBrowse();

  ErrorHandler& _errorHandler;
  std::string _name;
  std::string _path;
  bool _nativeView;
  HWND _dialog = nullptr;
};

}  // namespace products::stelmar::ui
