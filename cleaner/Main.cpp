// The host program: the main window TMainForm, the wait window and the program entry.
// The window shows the item list model of Host and calls one function per user action.
#include <windows.h>
#include <shellapi.h>

#include <exception>
#include <string>
#include <vector>

#include "cleaner/About.h"
#include "cleaner/Cleaning.h"
#include "cleaner/Host.h"
#include "cleaner/MainIds.h"
#include "cleaner/Options.h"
#include "cleaner/PresetNames.h"
#include "cleaner/Presets.h"
#include "cleaner/Result.h"
#include "cleaner/Saverestore.h"
#include "cleaner/Wording.h"
#include "cleaner/WindowParts.h"
#include "common/Unique.h"

namespace {

using namespace mainform;

constexpr const char* kAppTitle = "Varnick";
constexpr const char* kRestartQuestion =
    "All entries have zero items or no plug-ins are found. Should Varnick restart without "
    "hiding entries?";
constexpr const char* kNoPlugins =
    "No cleaning plug-ins were found. Please download at least one plug-in to use Varnick. "
    "They can be found at ";
constexpr const char* kDownloadAddress = "https://www.varnick.example/plug-ins/";
constexpr const char* kUnableToWrite = "Unable to write to %s";
constexpr const char* kHeightSample = "pT\xDA";

constexpr int kMinWidth = 334;
constexpr int kMinHeight = 313;
constexpr int kCheckBoxWidth = 16;

enum Anchor { kLeft = 1, kTop = 2, kRight = 4, kBottom = 8 };

struct ControlSpec {
  int id;
  const char* className;
  const char* text;
  DWORD style;
  int x, y, width, height;
  int anchors;
};

// Places of the layout, in client pixels of the window at its first size.
const ControlSpec kControls[] = {
    {kCleanBtn, "BUTTON", "C&lean", BS_DEFPUSHBUTTON | WS_TABSTOP, 13, 233, 89, 41, kLeft | kBottom},
    {kAboutBtn, "BUTTON", "&About", BS_PUSHBUTTON | WS_TABSTOP, 111, 233, 89, 41, kLeft | kBottom},
    {kExitBtn, "BUTTON", "E&xit", BS_PUSHBUTTON | WS_TABSTOP, 210, 233, 89, 41, kRight | kBottom},
    {kCfgBtn, "BUTTON", "&C", BS_PUSHBUTTON | WS_TABSTOP, 304, 233, 19, 19, kRight | kBottom},
    {kCleaningItems, "LISTBOX", "",
     LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
     24, 48, 279, 108, kLeft | kTop | kRight | kBottom},
    {kSettingsBox, "COMBOBOX", "",
     CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP,
     24, 186, 137, 200, kLeft | kBottom},
    {kSaveCfg, "BUTTON", "&Save as...", BS_PUSHBUTTON | WS_TABSTOP, 168, 185, 61, 25, kLeft | kBottom},
    {kRmCfg, "BUTTON", "&Remove", BS_PUSHBUTTON | WS_TABSTOP, 236, 185, 61, 25, kLeft | kBottom},
    {kLabel1, "STATIC", "Select items to clean:", SS_LEFT, 24, 28, 200, 16, kLeft | kTop},
    {kLblTtl, "STATIC", "", SS_LEFT, 24, 165, 270, 16, kLeft | kBottom},
};
constexpr RECT kShape1 = {8, 8, 8 + 311, 8 + 215};
constexpr int kDesignClientWidth = 327;
constexpr int kDesignClientHeight = 282;

class MainForm {
 public:
  explicit MainForm(Host& host) : host_(host) {}
  bool Create(HINSTANCE instance);
  HWND hwnd() const { return hwnd_; }
  void FillListControl();
  void UpdateSelectionTotal();
  void ApplyColours();
  void CreateFontsAndHeights();
  void FillPresetBox();
  void ShutDown();

  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK ListProc(HWND, UINT, WPARAM, LPARAM);

 private:
  friend LRESULT CALLBACK windowparts::FormProc<MainForm>(HWND, UINT, WPARAM, LPARAM);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void DrawItem(const DRAWITEMSTRUCT& draw);
  void ToggleTick(int index);
  void Resize(int width, int height);
  void CleanBtnClick();
  void SettingsBoxChange();
  void SaveCfgClick();
  void RmCfgClick();
  void ShowTicks();
  int EntryAt(POINT clientPoint) const;
  void CleaningItemsMouseDown(POINT clientPoint);
  void ConfigClick();
  void SelectAll1Click();
  void InvertSelection1Click();
  void ShowPresetNames();
  void ReportWriteFailure();
  std::string SettingsPath() const { return host_.programFolder() + itemlist::kSettingsFile; }
  COLORREF Colour(HostColour c) const { return host_.settings().colours[c]; }

  Host& host_;
  PresetBox box_;
  HWND hwnd_ = nullptr;
  HWND list_ = nullptr;
  WNDPROC listProc_ = nullptr;
  win::UniqueGdi font_;
  win::UniqueGdi windowBrush_;
  win::UniqueGdi listBrush_;
  POINT lastRightClick_ = {-1, -1};
  bool coloured_ = false;
  bool shutDown_ = false;
  bool cleaning_ = false;
};

MainForm* g_form = nullptr;

void StartProgramAgain();

bool MainForm::Create(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);

  RECT frame = {0, 0, kDesignClientWidth, kDesignClientHeight};
  const DWORD style = WS_OVERLAPPEDWINDOW & ~(WS_MAXIMIZEBOX | WS_MINIMIZEBOX);
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTEXTHELP);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  hwnd_ = CreateWindowExA(WS_EX_CONTEXTHELP, kClassName, kTitle, style | WS_CLIPCHILDREN, x, y,
                          width, height, nullptr, nullptr, instance, this);
  if (!hwnd_) return false;
  for (const ControlSpec& c : kControls) {
    HWND control = CreateWindowExA(0, c.className, c.text, WS_CHILD | WS_VISIBLE | c.style, c.x, c.y,
                                   c.width, c.height, hwnd_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
    SetWindowLongPtrA(control, GWLP_USERDATA, c.anchors);
  }
  list_ = GetDlgItem(hwnd_, kCleaningItems);
  listProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProc)));
  CreateFontsAndHeights();
  return true;
}

void MainForm::CreateFontsAndHeights() {
  font_.reset(windowparts::CreateIconTitleFont());
  HFONT font = font_ ? static_cast<HFONT>(font_.get()) : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

  HDC dc = GetDC(list_);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32A(dc, kHeightSample, 3, &size);
  SelectObject(dc, old);
  ReleaseDC(list_, dc);
  const int listHeight = size.cy + 5 > 18 ? size.cy + 5 : 18;
  const int boxHeight = size.cy + 1 > 16 ? size.cy + 1 : 16;
  SendMessageA(list_, LB_SETITEMHEIGHT, 0, listHeight);
  SendMessageA(GetDlgItem(hwnd_, kSettingsBox), CB_SETITEMHEIGHT, 0, boxHeight);
}

void MainForm::ApplyColours() {
  coloured_ = true;
  windowBrush_.reset(CreateSolidBrush(Colour(WindowColor)));
  listBrush_.reset(CreateSolidBrush(Colour(ListBoxColor)));
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void MainForm::FillListControl() {
  SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list_, LB_RESETCONTENT, 0, 0);
  for (const ListEntry& entry : host_.list().entries()) {
    const LRESULT index = SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.caption.c_str()));
    // The tick rides along as item data, so that test drivers can read it.
    SendMessageA(list_, LB_SETITEMDATA, index, entry.ticked ? 1 : 0);
  }
  SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
  UpdateSelectionTotal();
}

void MainForm::UpdateSelectionTotal() {
  const std::string text =
      wording::SelectionTotal(host_.list().SelectedSizeFound(), DecimalSeparator());
  SetDlgItemTextA(hwnd_, kLblTtl, text.c_str());
}

void MainForm::ToggleTick(int index) {
  std::vector<ListEntry>& entries = host_.list().entries();
  if (index < 0 || static_cast<size_t>(index) >= entries.size()) return;
  entries[index].ticked = !entries[index].ticked;
  SendMessageA(list_, LB_SETITEMDATA, index, entries[index].ticked ? 1 : 0);
  RECT rect;
  SendMessageA(list_, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
  InvalidateRect(list_, &rect, TRUE);
  // A changed tick means the list no longer shows a stored preset.
  box_.ClearSelection();
  SendDlgItemMessageA(hwnd_, kSettingsBox, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  UpdateSelectionTotal();
}

void MainForm::ShowTicks() {
  const std::vector<ListEntry>& entries = host_.list().entries();
  for (size_t i = 0; i < entries.size(); ++i)
    SendMessageA(list_, LB_SETITEMDATA, i, entries[i].ticked ? 1 : 0);
  InvalidateRect(list_, nullptr, TRUE);
  UpdateSelectionTotal();
}

void MainForm::ShowPresetNames() {
  HWND box = GetDlgItem(hwnd_, kSettingsBox);
  SendMessageA(box, CB_RESETCONTENT, 0, 0);
  for (const std::string& name : box_.names())
    SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(box_.selected()), 0);
}

void MainForm::FillPresetBox() {
  box_.LoadPresetNames(SettingsPath());
  ShowPresetNames();
}

void MainForm::ReportWriteFailure() {
  std::string message = kUnableToWrite;
  message.replace(message.find("%s"), 2, SettingsPath());
  MessageBoxA(hwnd_, message.c_str(), kAppTitle, MB_OK | MB_ICONERROR);
}

void MainForm::SettingsBoxChange() {
  const LRESULT index = SendDlgItemMessageA(hwnd_, kSettingsBox, CB_GETCURSEL, 0, 0);
  if (index < 0) return;
  box_.Select(static_cast<int>(index));
  presets::ApplySelected(host_.list(), box_, SettingsPath());
  ShowTicks();
}

int MainForm::EntryAt(POINT clientPoint) const {
  const LRESULT hit =
      SendMessageA(list_, LB_ITEMFROMPOINT, 0, MAKELPARAM(clientPoint.x, clientPoint.y));
  // The high word says the point lies below the last entry.
  if (HIWORD(hit) != 0) return -1;
  const int index = LOWORD(hit);
  return static_cast<size_t>(index) < host_.list().entries().size() ? index : -1;
}

void MainForm::CleaningItemsMouseDown(POINT clientPoint) {
  lastRightClick_ = clientPoint;
  const int index = EntryAt(clientPoint);
  if (index < 0) return;
  struct MenuOwner {
    HMENU menu = CreatePopupMenu();
    ~MenuOwner() { DestroyMenu(menu); }
  } popup;
  AppendMenuA(popup.menu, MF_STRING, kMenuConfigure, kConfigureText);
  AppendMenuA(popup.menu, MF_STRING, kMenuSelectAll, kSelectAllText);
  AppendMenuA(popup.menu, MF_STRING, kMenuInvert, kInvertSelectionText);
  AppendMenuA(popup.menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(popup.menu, MF_STRING, kMenuCancel, kCancelText);
  SetMenuDefaultItem(popup.menu, kMenuConfigure, FALSE);
  if (!host_.list().entries()[index].item->CanConfigure())
    EnableMenuItem(popup.menu, kMenuConfigure, MF_BYCOMMAND | MF_GRAYED);
  POINT screen;
  GetCursorPos(&screen);
  TrackPopupMenu(popup.menu, TPM_RIGHTBUTTON, screen.x, screen.y, 0, hwnd_, nullptr);
}

void MainForm::ConfigClick() {
  const int index = EntryAt(lastRightClick_);
  if (index < 0) return;
  PlugInfo& item = *host_.list().entries()[index].item;
  if (!item.CanConfigure()) return;
  item.Configure();
  InvalidateRect(list_, nullptr, TRUE);
}

void MainForm::SelectAll1Click() {
  std::vector<ListEntry>& entries = host_.list().entries();
  for (size_t i = entries.size(); i-- > 0;) entries[i].ticked = true;
  ShowTicks();
}

void MainForm::InvertSelection1Click() {
  std::vector<ListEntry>& entries = host_.list().entries();
  for (size_t i = entries.size(); i-- > 0;) entries[i].ticked = !entries[i].ticked;
  ShowTicks();
}

INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
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

void MainForm::SaveCfgClick() {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd_, GWLP_HINSTANCE));
  for (;;) {
    std::string name;
    if (DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_INPUT_BOX), hwnd_, InputBoxProc,
                        reinterpret_cast<LPARAM>(&name)) != IDOK)
      return;
    if (name.empty()) continue;
    if (presetnames::IsReserved(name)) {
      MessageBoxA(hwnd_, kNameInUse, kNameInUseCaption, MB_OK);
      continue;
    }
    const presets::SaveOutcome outcome = presets::SavePreset(host_.list(), box_, SettingsPath(), name, [this] {
      return MessageBoxA(hwnd_, kOverwrite, kSaveSettingCaption, MB_YESNO | MB_ICONQUESTION) == IDYES;
    });
    if (outcome == presets::SaveOutcome::Declined) continue;
    if (outcome == presets::SaveOutcome::WriteFailed) ReportWriteFailure();
    ShowPresetNames();
    return;
  }
}

void MainForm::RmCfgClick() {
  if (box_.selected() < 0) return;
  if (!presets::RemoveSelected(box_, SettingsPath())) ReportWriteFailure();
  ShowPresetNames();
}

void MainForm::DrawItem(const DRAWITEMSTRUCT& draw) {
  if (draw.itemID == static_cast<UINT>(-1)) return;
  if (draw.CtlID == kSettingsBox) {
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    win::UniqueGdi brush(CreateSolidBrush(selected ? Colour(SelectedColor) : Colour(ListBoxColor)));
    FillRect(draw.hDC, &draw.rcItem, static_cast<HBRUSH>(brush.get()));
    if (draw.itemID < box_.names().size()) {
      const std::string& name = box_.names()[draw.itemID];
      SetBkMode(draw.hDC, TRANSPARENT);
      SetTextColor(draw.hDC, selected ? Colour(TextColorHighLight) : Colour(TextColor));
      TextOutA(draw.hDC, draw.rcItem.left + 2, draw.rcItem.top, name.c_str(), static_cast<int>(name.size()));
    }
    return;
  }
  if (draw.CtlID != kCleaningItems) return;
  const std::vector<ListEntry>& entries = host_.list().entries();
  if (draw.itemID >= entries.size()) return;
  const ListEntry& entry = entries[draw.itemID];
  HDC dc = draw.hDC;

  RECT box = draw.rcItem;
  box.right = box.left + kCheckBoxWidth;
  FillRect(dc, &box, listBrush_ ? static_cast<HBRUSH>(listBrush_.get()) : GetSysColorBrush(COLOR_WINDOW));
  RECT check = {box.left + 2, box.top + (box.bottom - box.top - 13) / 2, box.left + 15,
                box.top + (box.bottom - box.top - 13) / 2 + 13};
  DrawFrameControl(dc, &check, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (entry.ticked ? DFCS_CHECKED : 0));

  RECT rect = draw.rcItem;
  rect.left += kCheckBoxWidth;
  const bool selected = (draw.itemState & ODS_SELECTED) != 0;
  const COLORREF background = selected ? Colour(SelectedColor) : Colour(ListBoxColor);
  win::UniqueGdi brush(CreateSolidBrush(background));
  FillRect(dc, &rect, static_cast<HBRUSH>(brush.get()));
  if (HICON icon = entry.item->GetIcon())
    DrawIconEx(dc, rect.left + 2, rect.top + 1, icon, 0, 0, 0, nullptr, DI_NORMAL);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, selected ? Colour(TextColorHighLight) : Colour(TextColor));
  TextOutA(dc, rect.left + 22, rect.top + 3, entry.caption.c_str(), static_cast<int>(entry.caption.size()));
}

void MainForm::Resize(int width, int height) {
  const int dx = width - kDesignClientWidth;
  const int dy = height - kDesignClientHeight;
  for (const ControlSpec& c : kControls) {
    int x = c.x, y = c.y, w = c.width, h = c.height;
    if (c.anchors & kRight) {
      if (c.anchors & kLeft) w += dx; else x += dx;
    }
    if (c.anchors & kBottom) {
      if (c.anchors & kTop) h += dy; else y += dy;
    }
    MoveWindow(GetDlgItem(hwnd_, c.id), x, y, w, h, FALSE);
  }
  // "&About" stays centred between "C&lean" and "E&xit".
  RECT clean, about, exitButton;
  GetWindowRect(GetDlgItem(hwnd_, kCleanBtn), &clean);
  GetWindowRect(GetDlgItem(hwnd_, kAboutBtn), &about);
  GetWindowRect(GetDlgItem(hwnd_, kExitBtn), &exitButton);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&clean), 2);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&about), 2);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&exitButton), 2);
  const int aboutWidth = about.right - about.left;
  const int left = clean.right + (exitButton.left - clean.right - aboutWidth) / 2;
  MoveWindow(GetDlgItem(hwnd_, kAboutBtn), left, about.top, aboutWidth, about.bottom - about.top, FALSE);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void MainForm::CleanBtnClick() {
  if (cleaning_) return;
  cleaning_ = true;
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  const CleaningResult result = RunCleaning(host_.list(), true);
  SetCursor(previous);
  ShowWindow(hwnd_, SW_HIDE);
  const bool back = resultform::Show(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd_, GWLP_HINSTANCE)),
                                     result.lines, host_.settings(), host_.programFolder());
  if (back) StartProgramAgain();
  DestroyWindow(hwnd_);
}

void MainForm::ShutDown() {
  if (shutDown_) return;
  shutDown_ = true;
  // After a start-up that stopped early the list is empty: writing it would only wipe the
  // saved ticks and the last preset.
  if (!host_.quiet() && host_.filled()) {
    std::string failedFile;
    if (!host_.SaveTicks(box_.SelectedName(), failedFile)) ReportWriteFailure();
    formpos::SaveFormPosition(hwnd_, host_.programFolder(), formpos::kMainForm);
  }
  host_.ReleasePlugins();
}

LRESULT MainForm::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kExitBtn:
        case IDCANCEL:
          DestroyWindow(hwnd_);
          return 0;
        case kCleanBtn:
        case IDOK:
          CleanBtnClick();
          return 0;
        case kAboutBtn:
          aboutbox::Show(hwnd_, Colour(WindowColor), Colour(FrameColor), Colour(TextColor));
          return 0;
        case kCfgBtn: {
          options::Context context;
          context.programFolder = host_.programFolder();
          context.removeOnReboot = RemoveOnReboot;
          context.hideItems = host_.settings().hideItems;
          context.presets = box_.names();
          options::OpenGlobalOptions(1, hwnd_, context);
          return 0;
        }
        case kSaveCfg:
          SaveCfgClick();
          return 0;
        case kRmCfg:
          RmCfgClick();
          return 0;
        case kSettingsBox:
          if (HIWORD(wParam) == CBN_SELCHANGE) SettingsBoxChange();
          return 0;
        case kMenuConfigure:
          ConfigClick();
          return 0;
        case kMenuSelectAll:
          SelectAll1Click();
          return 0;
        case kMenuInvert:
          InvertSelection1Click();
          return 0;
      }
      break;
    case WM_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_CTLCOLORLISTBOX:
      if (coloured_ && listBrush_) {
        SetBkColor(reinterpret_cast<HDC>(wParam), Colour(ListBoxColor));
        return reinterpret_cast<LRESULT>(listBrush_.get());
      }
      break;
    case WM_CTLCOLORSTATIC:
      if (coloured_ && windowBrush_) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkMode(dc, TRANSPARENT);
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        SetTextColor(dc, id == kLabel1 ? Colour(FrameColor) : Colour(TextColor));
        return reinterpret_cast<LRESULT>(windowBrush_.get());
      }
      break;
    case WM_ERASEBKGND:
      if (coloured_ && windowBrush_) {
        RECT rect;
        GetClientRect(hwnd_, &rect);
        FillRect(reinterpret_cast<HDC>(wParam), &rect, static_cast<HBRUSH>(windowBrush_.get()));
        return 1;
      }
      break;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd_, &paint);
      {
        const windowparts::FramePen frame(dc, Colour(FrameColor));
        RECT client;
        GetClientRect(hwnd_, &client);
        Rectangle(dc, kShape1.left, kShape1.top, client.right - (kDesignClientWidth - kShape1.right),
                  client.bottom - (kDesignClientHeight - kShape1.bottom));
        frame.AroundChild(hwnd_, list_);
      }
      EndPaint(hwnd_, &paint);
      return 0;
    }
    case WM_SIZE:
      Resize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_GETMINMAXINFO:
      return windowparts::SetMinimumSize(lParam, kMinWidth, kMinHeight);
    case WM_MOUSEWHEEL:
      if (GetFocus() != list_) return SendMessageA(list_, message, wParam, lParam);
      break;
    case WM_CLOSE:
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      ShutDown();
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK MainForm::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return windowparts::FormProc<MainForm>(hwnd, message, wParam, lParam);
  } catch (const std::exception& e) {
    MessageBoxA(hwnd, e.what(), kAppTitle, MB_OK | MB_ICONERROR);
    return 0;
  }
}

LRESULT CALLBACK MainForm::ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MainForm* form = g_form;
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
    const int x = static_cast<short>(LOWORD(lParam));
    const LRESULT hit = SendMessageA(hwnd, LB_ITEMFROMPOINT, 0, lParam);
    if (x < kCheckBoxWidth && HIWORD(hit) == 0) form->ToggleTick(LOWORD(hit));
  } else if (message == WM_RBUTTONDOWN) {
    form->CleaningItemsMouseDown({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
    return 0;
  } else if (message == WM_CHAR && wParam == ' ') {
    form->ToggleTick(static_cast<int>(SendMessageA(hwnd, LB_GETCURSEL, 0, 0)));
    return 0;
  }
  return CallWindowProcA(form->listProc_, hwnd, message, wParam, lParam);
}

// The wait window shown while plug-ins load and count.
class WaitForm {
 public:
  void Create(HINSTANCE instance, COLORREF colour);
  ~WaitForm() = default;
  void Close() { window_.reset(); }

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  win::UniqueWindow window_;
  win::UniqueGdi brush_;
};

LRESULT CALLBACK WaitForm::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    static const char* const kLines[] = {"Please wait...", "Varnick is examining the system."};
    TextOutA(dc, 16, 14, kLines[0], lstrlenA(kLines[0]));
    TextOutA(dc, 16, 34, kLines[1], lstrlenA(kLines[1]));
    SelectObject(dc, old);
    EndPaint(hwnd, &paint);
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

void WaitForm::Create(HINSTANCE instance, COLORREF colour) {
  brush_.reset(CreateSolidBrush(colour));
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_WAIT);
  wc.hbrBackground = static_cast<HBRUSH>(brush_.get());
  wc.lpszClassName = kWaitClassName;
  RegisterClassA(&wc);
  const int width = 240, height = 90;
  window_.reset(CreateWindowExA(WS_EX_TOOLWINDOW, kWaitClassName, kWaitTitle, WS_POPUP | WS_CAPTION,
                                (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                                nullptr, nullptr, instance, nullptr));
  ShowWindow(window_.get(), SW_SHOWNORMAL);
  UpdateWindow(window_.get());
}

void ProcessPendingMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void StartProgramAgain() {
  char path[MAX_PATH];
  if (GetModuleFileNameA(nullptr, path, MAX_PATH) < MAX_PATH)
    ShellExecuteA(nullptr, "open", path, nullptr, nullptr, SW_SHOWNORMAL);
}

int RunMessageLoop(HWND window) {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageA(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

int RunHost(HINSTANCE instance) {
  Host host(Host::ModuleFolder());
  host.ParseCommandLine(GetCommandLineA());

  if (host.quiet()) {
    // No window at all, the settings file is not read, nothing is written.
    host.LoadPluginsAndFill();
    host.CleanQuiet();
    host.ReleasePlugins();
    return 0;
  }

  MainForm form(host);
  g_form = &form;
  if (!form.Create(instance)) return 1;

  std::string error;
  if (!host.ReadSettings(error)) {
    // Start-up stops here: the window opens with an empty list.
    MessageBoxA(nullptr, error.c_str(), kAppTitle, MB_OK | MB_ICONERROR);
    ShowWindow(form.hwnd(), SW_SHOW);
    form.UpdateSelectionTotal();
    return RunMessageLoop(form.hwnd());
  }
  form.ApplyColours();

  WaitForm wait;
  wait.Create(instance, host.settings().colours[WindowColor]);
  HCURSOR normalCursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  ProcessPendingMessages();

  host.LoadPluginsAndFill();

  wait.Close();
  form.FillListControl();
  form.FillPresetBox();
  SetCursor(normalCursor);

  if (host.list().entries().empty()) {
    if (host.settings().hideItems) {
      if (MessageBoxA(nullptr, kRestartQuestion, kAppTitle, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        host.ClearHideItems();
        StartProgramAgain();
      }
    } else {
      const std::string text = std::string(kNoPlugins) + kDownloadAddress;
      MessageBoxA(nullptr, text.c_str(), kAppTitle, MB_OK | MB_ICONINFORMATION);
    }
    DestroyWindow(form.hwnd());
    return 0;
  }

  formpos::RestoreFormPosition(form.hwnd(), host.programFolder(), formpos::kMainForm);
  ShowWindow(form.hwnd(), SW_SHOW);
  SetFocus(GetDlgItem(form.hwnd(), kCleanBtn));
  return RunMessageLoop(form.hwnd());
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  try {
    return RunHost(instance);
  } catch (const std::exception& e) {
    MessageBoxA(nullptr, e.what(), kAppTitle, MB_OK | MB_ICONERROR);
    return 1;
  }
}
