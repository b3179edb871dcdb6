#include "startup/ui/AddEntryDialog.h"

#include <commdlg.h>

#include <vector>

#include "startup/platform/errorresources/Assertion.h"
#include "startup/platform/errorresources/Exceptions.h"
#include "startup/ui/CentreOnOwner.h"
#include "startup/ui/StelmarIds.h"
#include "startup/util/StringHelper.h"
#include "startup/util/parser/ArgumentParserHelpers.h"
#include "startup/windows/file/NativeView.h"
#include "startup/windows/file/WindowsFileHelper.h"

namespace products::stelmar::ui {

const char* const AddEntryDialog::BROWSE_FILTER =
    "Executables (*.exe;*.com;*.bat;*.scr;*.vbs)|*.exe;*.com;*.bat;*.scr;*.vbs|All Files (*.*)|*.*||";

namespace {

const char* const NO_NAME = "You must enter a name for the new startup key.";
const char* const NO_PATH =
    "You must specify a file to be run at startup. Please press the \"Browse\" button.";
const char* const NO_FILE = "The startup entry you are trying to add doesn't point on a valid file.";
constexpr std::size_t FILE_NAME_BUFFER = 2400;

// The open-file dialog shows where the system puts it; once it is ready it moves over the
// entry dialog that owns it. The hook's own window is a child of the open-file dialog.
UINT_PTR CALLBACK browseHook(HWND child, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == CDN_INITDONE)
    centreOnOwner(GetParent(child));
  return 0;
}

std::string boxText(HWND dialog, int id) {
  HWND box = GetDlgItem(dialog, id);
  std::vector<char> text(static_cast<std::size_t>(GetWindowTextLengthA(box)) + 1, '\0');
  GetWindowTextA(box, text.data(), static_cast<int>(text.size()));
  return text.data();
}

}  // namespace

bool AddEntryDialog::run(HWND owner) {
  return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ADD_ENTRY), owner,
                         dialogProc, reinterpret_cast<LPARAM>(this)) == IDOK;
}

INT_PTR CALLBACK AddEntryDialog::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrA(dialog, DWLP_USER, lParam);
  auto* self = reinterpret_cast<AddEntryDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (!self) return FALSE;
  try {
    switch (message) {
      case WM_INITDIALOG:
        self->_dialog = dialog;
        centreOnOwner(dialog);
        self->writeBoxes();
        return TRUE;
      case WM_COMMAND:
        switch (LOWORD(wParam)) {
          case IDOK:
            self->onOk();
            return TRUE;
          case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
          case IDC_BROWSE:
            self->onBrowse();
            return TRUE;
        }
    }
  } catch (const exceptions::Exception& e) {
    self->_errorHandler.handleError(e.getMessage());
  } catch (...) {
    STELMAR_ASSERT(false);
  }
  return FALSE;
}

void AddEntryDialog::readBoxes() {
  _name = boxText(_dialog, IDC_NAME);
  _path = boxText(_dialog, IDC_PATH);
}

void AddEntryDialog::writeBoxes() {
  SetDlgItemTextA(_dialog, IDC_NAME, _name.c_str());
  SetDlgItemTextA(_dialog, IDC_PATH, _path.c_str());
}

void AddEntryDialog::onOk() {
  readBoxes();
  if (_name.empty()) return _errorHandler.handleError(NO_NAME);
  if (_path.empty()) return _errorHandler.handleError(NO_PATH);
  const std::string file = util::StringHelper::removeQuotes(util::parser::ArgumentParserHelpers::getProgramPath(_path));
  const bool found = _nativeView ? windows::file::findNativeFile(file).has_value()
                                 : windows::file::WindowsFileHelper::fileExists(file);
  if (!found) return _errorHandler.handleError(NO_FILE);
  EndDialog(_dialog, IDOK);
}

void AddEntryDialog::onBrowse() {
  readBoxes();
  // The filter's "|" separators become the zero bytes the dialog expects.
  std::string filter = BROWSE_FILTER;
  for (char& c : filter)
    if (c == '|') c = '\0';
  std::vector<char> fileName(FILE_NAME_BUFFER, '\0');
  OPENFILENAMEA open{};
  open.lStructSize = sizeof open;
  open.hwndOwner = _dialog;
  open.lpfnHook = browseHook;
  open.lpstrFilter = filter.c_str();
  open.lpstrFile = fileName.data();
  open.nMaxFile = FILE_NAME_BUFFER - 2;
  open.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER |
               OFN_ENABLEHOOK | OFN_ENABLESIZING;
  _path = GetOpenFileNameA(&open) ? "\"" + std::string(fileName.data()) + "\"" : std::string();
  writeBoxes();
}

}  // namespace products::stelmar::ui
