#include "cleaner/forms/FormLoop.h"

#include "cleaner/forms/Ownerdrawbtn.h"

namespace formloop {

namespace {

// Enter and Escape, unless the focused control wants them (an open drop-down list does).
bool IsDialogKey(HWND form, MSG& msg) {
  if (msg.message != WM_KEYDOWN || (msg.wParam != VK_RETURN && msg.wParam != VK_ESCAPE)) return false;
  HWND focus = GetFocus();
  if (focus && IsChild(form, focus)) {
    const LRESULT code = SendMessageA(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
  }
  return true;
}

// Alt with a character always; a plain character when the focused control takes no text.
bool IsDialogChar(HWND form, MSG& msg) {
  if (msg.message == WM_SYSCHAR) return true;
  if (msg.message != WM_CHAR) return false;
  HWND focus = GetFocus();
  if (!focus || !IsChild(form, focus)) return true;
  return (SendMessageA(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) & DLGC_WANTCHARS) == 0;
}

}  // namespace

void Run(HWND form, const bool& done, const std::function<bool(const MSG&)>& preview) {
  using ownerdrawbtn::SendToButtons;
  HWND lastFocus = nullptr;
  MSG msg;
  while (!done && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    const bool ours = msg.hwnd == form || IsChild(form, msg.hwnd);
    bool consumed = preview && preview(msg);
    // Enter and Escape belong to the buttons alone: the platform's dialog navigation would
    // turn an Enter that no button takes into a command for the first button.
    const bool dialogKey = !consumed && ours && IsDialogKey(form, msg);
    if (dialogKey) consumed = SendToButtons(form, ownerdrawbtn::kDialogKey, msg.wParam);
    if (!consumed && ours && IsDialogChar(form, msg))
      consumed = SendToButtons(form, ownerdrawbtn::kDialogChar, msg.wParam);
    if (!consumed && (dialogKey || !(IsWindow(form) && IsDialogMessageA(form, &msg)))) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    HWND focus = GetFocus();
    if (focus != lastFocus && IsWindow(form) && focus && IsChild(form, focus)) {
      lastFocus = focus;
      ownerdrawbtn::BroadcastFocusChanged(form, focus);
    }
  }
}

}  // namespace formloop
