#include "cleaner/forms/ButtonLook.h"

#include "common/Dpi.h"
#include "common/Unique.h"

namespace {
constexpr int kLargeFocusInset = 10;
constexpr int kSmallFocusInset = 2;

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
  const win::UniqueGdi brush(CreateSolidBrush(colour));
  FillRect(dc, &rect, static_cast<HBRUSH>(brush.get()));
}
}  // namespace

void CleanBtnDrawButton(TOwnerDrawBtn& button, const HostSettings& settings) {
  HDC dc = button.Canvas();
  const unsigned state = button.ButtonState();
  RECT rect = button.ClientRect();
  {
    const win::UniqueGdi border(
        CreateSolidBrush(settings.colours[(state & IsDefault) ? FrameColor : BtnClrBorder]));
    FrameRect(dc, &rect, static_cast<HBRUSH>(border.get()));
  }
  InflateRect(&rect, -1, -1);
  const HostColour face = (state & Pressed) ? BtnClrLBtnDown : (state & MouseOver) ? BtnClrMouseOver : BtnClrNormal;
  Fill(dc, rect, settings.colours[face]);
  if (state & Focused) {
    RECT focus = button.ClientRect();
    const int inset = dpi::Scale(button.Tag > 0 ? kLargeFocusInset : kSmallFocusInset, dpi::ForWindow(button.hwnd()));
    InflateRect(&focus, -inset, -inset);
    DrawFocusRect(dc, &focus);
  }
  const std::string caption = button.Caption();
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, settings.colours[TextColor]);
  RECT text = button.ClientRect();
  DrawTextA(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

void UseHostLook(TOwnerDrawBtn& button, const HostSettings& settings) {
  button.OnDrawButton = [&settings](TOwnerDrawBtn& sender) { CleanBtnDrawButton(sender, settings); };
  button.SetDefaultDraw(settings.defaultButtons);
}
