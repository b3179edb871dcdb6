#include "cleaner/forms/Result.h"

#include "cleaner/forms/ButtonLook.h"
#include "cleaner/forms/Ownerdrawbtn.h"
#include "cleaner/forms/Saverestore.h"
#include "cleaner/forms/WindowParts.h"
#include "common/Unique.h"

namespace resultform {

namespace {

constexpr int kMinWidth = 399;
constexpr int kMinHeight = 319;
constexpr int kMargin = 16;
constexpr int kButtonWidth = 89;
constexpr int kButtonHeight = 33;
constexpr int kFrameMargin = 8;

class ResultForm {
 public:
  ResultForm(const std::vector<std::string>& lines, const HostSettings& settings, const std::string& folder)
      : lines_(lines), settings_(settings), folder_(folder) {}
  bool Run(HINSTANCE instance);

 private:
  friend LRESULT CALLBACK windowparts::FormProc<ResultForm>(HWND, UINT, WPARAM, LPARAM);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Layout(int width, int height);
  int S(int value) const { return dpi::Scale(value, dpi_); }
  void UseFont();
  COLORREF Colour(HostColour c) const { return settings_.colours[c]; }

  const std::vector<std::string>& lines_;
  const HostSettings& settings_;
  const std::string& folder_;
  HWND hwnd_ = nullptr;
  HWND text_ = nullptr;
  win::UniqueGdi windowBrush_;
  win::UniqueGdi textBrush_;
  win::UniqueGdi font_;
  TOwnerDrawBtn backBtn_;
  TOwnerDrawBtn exitBtn_;
  RECT shape1_ = {};
  bool closed_ = false;
  bool back_ = false;
  int dpi_ = dpi::kDefault;
};

void ResultForm::UseFont() {
  win::UniqueGdi font(windowparts::CreateIconTitleFont(hwnd_));
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    SendMessageA(child, WM_SETFONT,
                 reinterpret_cast<WPARAM>(font ? font.get() : GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  font_ = std::move(font);
}

bool ResultForm::Run(HINSTANCE instance) {
  windowBrush_.reset(CreateSolidBrush(Colour(WindowColor)));
  textBrush_.reset(CreateSolidBrush(Colour(ListBoxColor)));
  WNDCLASSA wc{};
  wc.lpfnWndProc = windowparts::FormProc<ResultForm>;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(windowBrush_.get());
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);
  dpi_ = dpi::System();
  const int x = (GetSystemMetrics(SM_CXSCREEN) - S(kMinWidth)) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - S(kMinHeight)) / 2;
  hwnd_ = CreateWindowExA(0, kClassName, kCaption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, y,
                          S(kMinWidth), S(kMinHeight), nullptr, nullptr, instance, this);
  if (!hwnd_) return false;
  dpi_ = dpi::ForWindow(hwnd_);

  struct Child { int id; const char* cls; const char* text; DWORD style; };
  const Child children[] = {
      {kHeadingLabel, "STATIC", kHeading, SS_LEFT},
      {kResult, "EDIT", "",
       ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP},
  };
  for (const Child& c : children)
    CreateWindowExA(0, c.cls, c.text, WS_CHILD | WS_VISIBLE | c.style, 0, 0, 10, 10, hwnd_,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
  // "&Exit" is the default and the cancel button: Enter and Escape both leave.
  exitBtn_.SetDefault(true);
  exitBtn_.Cancel = true;
  for (TOwnerDrawBtn* button : {&backBtn_, &exitBtn_}) {
    button->Tag = 1;
    if (!button->Create(hwnd_, button == &exitBtn_ ? kExitBtn : kBackBtn,
                        button == &exitBtn_ ? "&Exit" : "&Back", 0, 0, S(kButtonWidth), S(kButtonHeight)))
      return false;
    UseHostLook(*button, settings_);
  }
  UseFont();
  text_ = GetDlgItem(hwnd_, kResult);
  std::string text;
  for (size_t i = 0; i < lines_.size(); ++i) text += (i ? "\r\n" : "") + lines_[i];
  SetWindowTextA(text_, text.c_str());
  formpos::RestoreFormPosition(hwnd_, folder_, formpos::kResultForm);
  RECT client;
  GetClientRect(hwnd_, &client);
  Layout(client.right, client.bottom);

  ShowWindow(hwnd_, SW_SHOW);
  SetFocus(GetDlgItem(hwnd_, kExitBtn));
  ownerdrawbtn::RunFormLoop(hwnd_, closed_);
  if (IsWindow(hwnd_)) {
    formpos::SaveFormPosition(hwnd_, folder_, formpos::kResultForm);
    DestroyWindow(hwnd_);
  }
  return back_;
}

void ResultForm::Layout(int width, int height) {
  const int margin = S(kMargin), buttonWidth = S(kButtonWidth), buttonHeight = S(kButtonHeight);
  MoveWindow(GetDlgItem(hwnd_, kHeadingLabel), margin, S(10), width - 2 * margin, S(16), FALSE);
  const int buttonsTop = height - buttonHeight - S(12);
  shape1_ = {S(kFrameMargin), S(4), width - S(kFrameMargin), buttonsTop - S(6)};
  MoveWindow(text_, margin, S(32), width - 2 * margin, buttonsTop - S(32) - S(12), FALSE);
  MoveWindow(GetDlgItem(hwnd_, kBackBtn), margin, buttonsTop, buttonWidth, buttonHeight, FALSE);
  MoveWindow(GetDlgItem(hwnd_, kExitBtn), width - margin - buttonWidth, buttonsTop, buttonWidth, buttonHeight,
             FALSE);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

LRESULT ResultForm::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      // Both buttons close the window; only "&Back" asks for a new start.
      if (LOWORD(wParam) == kExitBtn || LOWORD(wParam) == kBackBtn || LOWORD(wParam) == IDCANCEL) {
        back_ = LOWORD(wParam) == kBackBtn;
        closed_ = true;
        ShowWindow(hwnd_, SW_HIDE);
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      if (reinterpret_cast<HWND>(lParam) == text_) {
        SetBkColor(dc, Colour(ListBoxColor));
        SetTextColor(dc, Colour(TextColor));
        return reinterpret_cast<LRESULT>(textBrush_.get());
      }
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, Colour(FrameColor));
      return reinterpret_cast<LRESULT>(windowBrush_.get());
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd_, &paint);
      {
        const windowparts::FramePen frame(dc, Colour(FrameColor));
        Rectangle(dc, shape1_.left, shape1_.top, shape1_.right, shape1_.bottom);
        frame.AroundChild(hwnd_, text_);
      }
      EndPaint(hwnd_, &paint);
      return 0;
    }
    case WM_SIZE:
      Layout(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_DPICHANGED:
      dpi_ = HIWORD(wParam);
      UseFont();
      dpi::ApplySuggestedRect(hwnd_, lParam);
      return 0;
    case WM_GETMINMAXINFO:
      return windowparts::SetMinimumSize(hwnd_, lParam, kMinWidth, kMinHeight);
    case WM_MOUSEWHEEL:
      // The wheel scrolls the results wherever the mouse is.
      return SendMessageA(text_, message, wParam, lParam);
    case WM_CLOSE:
      closed_ = true;
      ShowWindow(hwnd_, SW_HIDE);
      return 0;
  }
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

}  // namespace

bool Show(HINSTANCE instance, const std::vector<std::string>& lines, const HostSettings& settings,
          const std::string& programFolder) {
  ResultForm form(lines, settings, programFolder);
  return form.Run(instance);
}

}  // namespace resultform
