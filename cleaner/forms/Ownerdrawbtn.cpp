#include "cleaner/forms/Ownerdrawbtn.h"

#include <exception>

#include "cleaner/forms/FormRules.h"
#include "common/Dpi.h"

namespace {

// Restores the device context's state, saved at construction.
class SavedDc {
 public:
  explicit SavedDc(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~SavedDc() {
    if (saved_) RestoreDC(dc_, saved_);
  }
  SavedDc(const SavedDc&) = delete;
  SavedDc& operator=(const SavedDc&) = delete;

 private:
  HDC dc_;
  int saved_;
};

class Painting {
 public:
  explicit Painting(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~Painting() { EndPaint(window_, &paint_); }
  Painting(const Painting&) = delete;
  Painting& operator=(const Painting&) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

bool IsClass(HWND window, const char* name) {
  char cls[64] = "";
  GetClassNameA(window, cls, sizeof cls);
  return lstrcmpiA(cls, name) == 0;
}

bool IsPushButton(HWND window) {
  if (IsClass(window, ownerdrawbtn::kClassName)) return true;
  if (!IsClass(window, "Button")) return false;
  const LONG_PTR type = GetWindowLongPtrA(window, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

// Sends a notice to the form's buttons in creation order; true when one handled it.
bool SendToButtons(HWND form, UINT message, WPARAM wParam) {
  for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (IsClass(child, ownerdrawbtn::kClassName) && SendMessageA(child, message, wParam, 0)) return true;
  return false;
}

}  // namespace

TOwnerDrawBtn::~TOwnerDrawBtn() {
  if (hwnd_) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

bool TOwnerDrawBtn::Create(HWND parent, int id, const std::string& caption, int left, int top, int width,
                           int height) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  if (!GetClassInfoA(instance, ownerdrawbtn::kClassName, &wc)) {
    wc = WNDCLASSA{};
    wc.style = CS_OWNDC | CS_DBLCLKS;
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = ownerdrawbtn::kClassName;
    RegisterClassA(&wc);
  }
  activeDefault_ = default_;
  return CreateWindowExA(0, ownerdrawbtn::kClassName, caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP, left,
                         top, width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                         this) != nullptr;
}

std::string TOwnerDrawBtn::Caption() const {
  char text[256] = "";
  if (hwnd_) GetWindowTextA(hwnd_, text, sizeof text);
  return text;
}

void TOwnerDrawBtn::SetDefaultDraw(bool on) {
  doDefaultDraw_ = on;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void TOwnerDrawBtn::SetDefault(bool on) {
  default_ = on;
  if (hwnd_) ownerdrawbtn::BroadcastFocusChanged(GetParent(hwnd_), GetFocus());
}

void TOwnerDrawBtn::SetButtonStyle(bool isDefault) {
  if (isDefault == ((state_ & IsDefault) != 0)) return;
  Set(IsDefault, isDefault);
}

void TOwnerDrawBtn::Set(unsigned flag, bool on) {
  const unsigned before = state_;
  state_ = on ? state_ | flag : state_ & ~flag;
  if (state_ != before && hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

bool TOwnerDrawBtn::CanFocus() const {
  for (HWND w = hwnd_; w; w = GetParent(w))
    if (!IsWindowVisible(w) || !IsWindowEnabled(w)) return false;
  return hwnd_ != nullptr;
}

void TOwnerDrawBtn::Click() {
  SendMessageA(GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd_), BN_CLICKED),
               reinterpret_cast<LPARAM>(hwnd_));
}

void TOwnerDrawBtn::FocusChanged(HWND focused) {
  activeDefault_ = focused && IsPushButton(focused) ? focused == hwnd_ : default_;
  SetButtonStyle(activeDefault_);
}

void TOwnerDrawBtn::MouseEntered() {
  mouseInside_ = true;
  TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, hwnd_, 0};
  TrackMouseEvent(&track);
  if (!MouseOverDraw) return;
  Set(MouseOver, true);
  if (GetKeyState(VK_LBUTTON) < 0 && GetCapture() == hwnd_) Set(Pressed, true);
}

void TOwnerDrawBtn::MouseLeft() {
  mouseInside_ = false;
  if (!MouseOverDraw) return;
  Set(MouseOver, false);
  Set(Pressed, false);
}

LRESULT TOwnerDrawBtn::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      activeDefault_ = default_;
      break;
    case WM_SETFOCUS:
      Set(Focused, true);
      break;
    case WM_KILLFOCUS:
      Set(Focused, false);
      break;
    case WM_ENABLE:
      InvalidateRect(hwnd_, nullptr, FALSE);
      break;
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcA(hwnd_, message, wParam, lParam);
      InvalidateRect(hwnd_, nullptr, FALSE);
      return result;
    }
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (GetFocus() != hwnd_ && CanFocus()) SetFocus(hwnd_);
      SetCapture(hwnd_);
      Set(Pressed, true);
      return 0;
    case WM_LBUTTONUP: {
      const bool wasPressed = GetCapture() == hwnd_;
      Set(Pressed, false);
      if (wasPressed) ReleaseCapture();
      RECT client;
      GetClientRect(hwnd_, &client);
      const POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (wasPressed && PtInRect(&client, at)) Click();
      return 0;
    }
    case WM_CAPTURECHANGED:
      Set(Pressed, false);
      return 0;
    case WM_MOUSEMOVE: {
      // While the button holds the mouse it hears every move, inside or not: entering
      // and leaving are decided by where the cursor is.
      POINT screen = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      RECT client;
      GetClientRect(hwnd_, &client);
      const bool inside = PtInRect(&client, screen) != FALSE;
      ClientToScreen(hwnd_, &screen);
      const bool over = inside && WindowFromPoint(screen) == hwnd_;
      if (over && !mouseInside_) MouseEntered();
      if (!over && mouseInside_) MouseLeft();
      return 0;
    }
    case WM_MOUSELEAVE: {
      POINT cursor;
      GetCursorPos(&cursor);
      if (mouseInside_ && WindowFromPoint(cursor) != hwnd_) MouseLeft();
      return 0;
    }
    case WM_KEYUP:
      if (wParam == VK_SPACE) Click();
      return 0;
    case WM_GETDLGCODE:
      return DLGC_BUTTON | (activeDefault_ ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case BM_CLICK:
      Click();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
    case ownerdrawbtn::kFocusChanged:
      FocusChanged(reinterpret_cast<HWND>(wParam));
      return 0;
    case ownerdrawbtn::kDialogKey:
      if (((wParam == VK_RETURN && activeDefault_) || (wParam == VK_ESCAPE && Cancel)) && CanFocus()) {
        Click();
        return 1;
      }
      return 0;
    case ownerdrawbtn::kDialogChar: {
      const char accelerator = ownerdrawbtn::AcceleratorOf(Caption());
      if (accelerator && formrules::LowerCase(static_cast<char>(wParam)) == accelerator && CanFocus()) {
        Click();
        return 1;
      }
      return 0;
    }
    case ownerdrawbtn::kGetButtonState:
      return state_;
  }
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

void TOwnerDrawBtn::Paint() {
  GetClientRect(hwnd_, &clientRect_);
  Painting painting(hwnd_);
  canvas_ = painting.dc();
  {
    const SavedDc saved(canvas_);
    if (font_) SelectObject(canvas_, font_);
    if (doDefaultDraw_ || !OnDrawButton)
      DrawStandard();
    else
      OnDrawButton(*this);
  }
  canvas_ = nullptr;
}

void TOwnerDrawBtn::DrawStandard() {
  RECT rect = clientRect_;
  const HGDIOBJ oldBrush = SelectObject(canvas_, GetStockObject(NULL_BRUSH));
  DrawFrameControl(canvas_, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | ((state_ & Pressed) ? DFCS_PUSHED : 0));
  const std::string caption = Caption();
  SetBkMode(canvas_, TRANSPARENT);
  SetTextColor(canvas_, GetSysColor(IsWindowEnabled(hwnd_) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  DrawTextA(canvas_, caption.c_str(), -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  SelectObject(canvas_, oldBrush);
  if (state_ & Focused) {
    const int inset = dpi::Scale(3, dpi::ForWindow(hwnd_));
    InflateRect(&rect, -inset, -inset);
    DrawFocusRect(canvas_, &rect);
  }
}

LRESULT CALLBACK TOwnerDrawBtn::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* button = static_cast<TOwnerDrawBtn*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(button));
    button->hwnd_ = hwnd;
  }
  auto* button = reinterpret_cast<TOwnerDrawBtn*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!button) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    button->hwnd_ = nullptr;
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  try {
    return button->Handle(message, wParam, lParam);
  } catch (const std::exception&) {
    // A drawing handler that fails leaves the button as it was; the window goes on.
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

namespace ownerdrawbtn {

char AcceleratorOf(const std::string& caption) { return formrules::AcceleratorOf(caption); }

void BroadcastFocusChanged(HWND form, HWND focused) {
  for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (IsClass(child, kClassName)) SendMessageA(child, kFocusChanged, reinterpret_cast<WPARAM>(focused), 0);
}

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

void RunFormLoop(HWND form, const bool& done, const std::function<bool(const MSG&)>& preview) {
  HWND lastFocus = nullptr;
  MSG msg;
  while (!done && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    const bool ours = msg.hwnd == form || IsChild(form, msg.hwnd);
    bool consumed = preview && preview(msg);
    // Enter and Escape belong to the buttons alone: the platform's dialog navigation would
    // turn an Enter that no button takes into a command for the first button.
    const bool dialogKey = !consumed && ours && IsDialogKey(form, msg);
    if (dialogKey) consumed = SendToButtons(form, kDialogKey, msg.wParam);
    if (!consumed && ours && IsDialogChar(form, msg)) consumed = SendToButtons(form, kDialogChar, msg.wParam);
    if (!consumed && (dialogKey || !(IsWindow(form) && IsDialogMessageA(form, &msg)))) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    HWND focus = GetFocus();
    if (focus != lastFocus && IsWindow(form) && focus && IsChild(form, focus)) {
      lastFocus = focus;
      BroadcastFocusChanged(form, focus);
    }
  }
}

}  // namespace ownerdrawbtn
