#include "cleaner/forms/SaveAsBox.h"

#include "cleaner/forms/MainIds.h"
#include "cleaner/forms/WindowParts.h"

namespace saveasbox {

namespace {

using namespace mainform;

INT_PTR InputBox(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      SetWindowTextA(dialog, kSaveSettingCaption);
      SetDlgItemTextA(dialog, IDC_INPUT_PROMPT, kSaveSettingPrompt);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        char text[1024] = "";
        GetDlgItemTextA(dialog, IDC_INPUT_EDIT, text, sizeof text);
        *reinterpret_cast<std::string*>(GetWindowLongPtrA(dialog, DWLP_USER)) = text;
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      break;
  }
  return FALSE;
}

INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return windowparts::Guarded([&] { return InputBox(dialog, message, wParam, lParam); },
                              [] { return static_cast<INT_PTR>(FALSE); });
}

}  // namespace

bool AskName(HWND owner, std::string& name) {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_INPUT_BOX), owner, InputBoxProc,
                         reinterpret_cast<LPARAM>(&name)) == IDOK;
}

}  // namespace saveasbox
