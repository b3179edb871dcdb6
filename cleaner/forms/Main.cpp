// The host program: the main window TMainForm, the wait window and the program entry.
// The window shows the item list model of Host and calls one function per user action.
#include <windows.h>
#include <shellapi.h>

#include <exception>
#include <string>
#include <vector>

#include "cleaner/forms/About.h"
#include "cleaner/forms/ButtonLook.h"
#include "cleaner/host/Cleaning.h"
#include "cleaner/forms/FormRules.h"
#include "cleaner/host/Host.h"
#include "cleaner/forms/MainIds.h"
#include "cleaner/forms/Options.h"
#include "cleaner/forms/Ownerdrawbtn.h"
#include "cleaner/forms/ProgressForm.h"
#include "cleaner/host/PresetNames.h"
#include "cleaner/host/Presets.h"
#include "cleaner/forms/Result.h"
#include "cleaner/forms/Saverestore.h"
#include "cleaner/host/Wording.h"
#include "cleaner/forms/WindowParts.h"
#include "cleaner/forms/resource.h"
#include "common/Dpi.h"
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

constexpr const char* kCleanCaption = "C&lean";
constexpr int kMinWidth = 334;
constexpr int kMinHeight = 313;
constexpr int kCheckBoxWidth = 16;

enum Anchor { kLeft = 1, kTop = 2, kRight = 4, kBottom = 8 };

struct ControlSpec {
  int id;
  const char* className;  // null for a TOwnerDrawBtn
  const char* text;
  DWORD style;
  int x, y, width, height;
  int anchors;
  int helpContext;
  int tag;
};

// Places of the layout, in client pixels of the window at its first size, in tab order.
// "&C" has no help context: the one text that would fit it belongs to "E&xit" and says
// something it does not do, so a help request on it is declined.
const ControlSpec kControls[] = {
    {kCleanBtn, nullptr, kCleanCaption, 0, 13, 233, 89, 41, kLeft | kBottom, formrules::kHelpClean, 1},
    {kAboutBtn, nullptr, "&About", 0, 111, 233, 89, 41, kLeft | kBottom, formrules::kHelpAbout, 2},
    {kExitBtn, nullptr, "E&xit", 0, 210, 233, 89, 41, kRight | kBottom, formrules::kHelpExit, 3},
    {kCfgBtn, nullptr, "&C", 0, 304, 233, 19, 19, kRight | kBottom, 0, 0},
    {kCleaningItems, "LISTBOX", "",
     LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
     24, 48, 279, 108, kLeft | kTop | kRight | kBottom, formrules::kHelpItemList, 0},
    {kSettingsBox, "COMBOBOX", "",
     CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP,
     24, 186, 137, 200, kLeft | kBottom, formrules::kHelpPresets, 0},
    {kSaveCfg, nullptr, "&Save as...", 0, 168, 185, 61, 25, kLeft | kBottom, formrules::kHelpSaveAs, 0},
    {kRmCfg, nullptr, "&Remove", 0, 236, 185, 61, 25, kLeft | kBottom, formrules::kHelpRemove, 0},
    {kLabel1, "STATIC", "Select items to clean:", SS_LEFT, 24, 28, 200, 16, kLeft | kTop, 0, 0},
    {kLblTtl, "STATIC", "", SS_LEFT, 24, 165, 270, 16, kLeft | kBottom, 0, 0},
};
constexpr size_t kButtonCount = 6;
constexpr COLORREF kHelpBackground = 0x02FFDDAA;
constexpr RECT kShape1 = {8, 8, 8 + 311, 8 + 215};
constexpr int kDesignClientWidth = 327;
constexpr int kDesignClientHeight = 282;

class MainForm {
 public:
  explicit MainForm(Host& host) : host_(host), help_(kHelpBackground) {}
  bool Create(HINSTANCE instance);
  HWND hwnd() const { return hwnd_; }
  void FillListControl();
  void UpdateSelectionTotal();
  void ApplyColours();
  void CreateFontsAndHeights();
  // WM_DPICHANGED: fonts, heights and the layout at the new DPI, the window where the
  // system suggests.
  void DpiChanged(int newDpi, LPARAM suggested);
  void FillPresetBox();
  void ShutDown();
  // While plug-ins load or items clean, a request to close the window waits.
  void SetBusy(bool busy) { busy_ = busy; }
  // Seen by the window before its controls: F1 and the closing events of the popups.
  bool PreviewMessage(const MSG& msg);

  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK ListProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleList(HWND list, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  friend LRESULT CALLBACK windowparts::FormProc<MainForm>(HWND, UINT, WPARAM, LPARAM);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void DrawItem(const DRAWITEMSTRUCT& draw);
  void ToggleTick(int index);
  void AppHelp(const HELPINFO& info);
  void AppShowHint(POINT clientPoint);
  void StartHelpMode();
  void EndHelpMode(const POINT* clickAt);
  void FormKeyDown(UINT key);
  HFONT FormFont() const;
  int S(int value) const { return dpi::Scale(value, dpi_); }
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
  TOwnerDrawBtn buttons_[kButtonCount];
  TCustomHelpWindow help_;
  THintWindow hint_;
  bool f1Pressed_ = false;
  // "C&lean" acts on a key only when the user put the focus there (Tab, a click, its
  // accelerator): the focus it gets when the window opens, or keeps when a click went
  // astray, does not turn Space or Enter into a cleaning.
  bool cleanChosen_ = false;
  bool userMovedFocus_ = false;
  HWND lastFocus_ = nullptr;
  bool GuardClean(const MSG& msg);
  bool helpMode_ = false;
  bool trackingList_ = false;
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
  int dpi_ = dpi::kDefault;
  bool busy_ = false;
};

MainForm* g_form = nullptr;

HELPINFO HelpInfoFor(HWND control, POINT mouse);

void StartProgramAgain();

bool MainForm::Create(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hIcon = LoadIcon(instance, MAKEINTRESOURCE(IDI_MORVEL));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);

  // The first size is that of the design's client area at the DPI of the primary monitor,
  // where the window opens centred.
  const DWORD style = WS_OVERLAPPEDWINDOW & ~(WS_MAXIMIZEBOX | WS_MINIMIZEBOX);
  dpi_ = dpi::System();
  const SIZE size = dpi::WindowSizeFor(S(kDesignClientWidth), S(kDesignClientHeight), style, WS_EX_CONTEXTHELP, dpi_);
  const int x = (GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2;
  hwnd_ = CreateWindowExA(WS_EX_CONTEXTHELP, kClassName, kTitle, style | WS_CLIPCHILDREN, x, y,
                          size.cx, size.cy, nullptr, nullptr, instance, this);
  if (!hwnd_) return false;
  dpi_ = dpi::ForWindow(hwnd_);
  help_.SetDpi(dpi_);
  size_t button = 0;
  for (const ControlSpec& c : kControls) {
    HWND control = nullptr;
    if (c.className) {
      control = CreateWindowExA(0, c.className, c.text, WS_CHILD | WS_VISIBLE | c.style, S(c.x), S(c.y),
                                S(c.width), S(c.height), hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance,
                                nullptr);
    } else {
      TOwnerDrawBtn& b = buttons_[button++];
      b.Tag = c.tag;
      if (c.id == kCleanBtn) b.SetDefault(true);
      b.Cancel = c.id == kExitBtn;
      if (b.Create(hwnd_, c.id, c.text, S(c.x), S(c.y), S(c.width), S(c.height))) control = b.hwnd();
    }
    if (!control) return false;
    SetWindowContextHelpId(control, c.helpContext);
  }
  list_ = GetDlgItem(hwnd_, kCleaningItems);
  listProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProc)));
  CreateFontsAndHeights();
  RECT client;
  GetClientRect(hwnd_, &client);
  Resize(client.right, client.bottom);
  return true;
}

void MainForm::CreateFontsAndHeights() {
  // The controls take the new font before the old one is deleted.
  win::UniqueGdi old = std::move(font_);
  font_.reset(dpi::CreateIconTitleFont(dpi_));
  HFONT font = FormFont();
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  old.reset();

  SIZE size{};
  {
    const win::WindowDc dc(list_);
    const win::Selected selected(dc.get(), font);
    GetTextExtentPoint32A(dc.get(), kHeightSample, 3, &size);
  }
  // Rows hold the text and the 16-pixel icon (both at the window's DPI).
  const int listHeight = size.cy + S(5) > S(18) ? size.cy + S(5) : S(18);
  const int boxHeight = size.cy + S(1) > S(16) ? size.cy + S(1) : S(16);
  SendMessageA(list_, LB_SETITEMHEIGHT, 0, listHeight);
  SendMessageA(GetDlgItem(hwnd_, kSettingsBox), CB_SETITEMHEIGHT, 0, boxHeight);
}

void MainForm::DpiChanged(int newDpi, LPARAM suggested) {
  dpi_ = newDpi;
  help_.SetDpi(dpi_);
  hint_.Hide();
  CreateFontsAndHeights();
  dpi::ApplySuggestedRect(hwnd_, suggested);
  RECT client;
  GetClientRect(hwnd_, &client);
  Resize(client.right, client.bottom);
}

void MainForm::ApplyColours() {
  coloured_ = true;
  windowBrush_.reset(CreateSolidBrush(Colour(WindowColor)));
  listBrush_.reset(CreateSolidBrush(Colour(ListBoxColor)));
  for (TOwnerDrawBtn& button : buttons_) UseHostLook(button, host_.settings());
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
  if (!host_.list().ToggleTick(index)) return;
  SendMessageA(list_, LB_SETITEMDATA, index, host_.list().entries()[index].ticked ? 1 : 0);
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
  const win::UniqueMenu popup(CreatePopupMenu());
  if (!popup) return;
  AppendMenuA(popup.get(), MF_STRING, kMenuConfigure, kConfigureText);
  AppendMenuA(popup.get(), MF_STRING, kMenuSelectAll, kSelectAllText);
  AppendMenuA(popup.get(), MF_STRING, kMenuInvert, kInvertSelectionText);
  AppendMenuA(popup.get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuA(popup.get(), MF_STRING, kMenuCancel, kCancelText);
  SetMenuDefaultItem(popup.get(), kMenuConfigure, FALSE);
  if (!host_.list().entries()[index].item->CanConfigure())
    EnableMenuItem(popup.get(), kMenuConfigure, MF_BYCOMMAND | MF_GRAYED);
  POINT screen;
  GetCursorPos(&screen);
  TrackPopupMenu(popup.get(), TPM_RIGHTBUTTON, screen.x, screen.y, 0, hwnd_, nullptr);
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
  host_.list().SelectAll();
  ShowTicks();
}

void MainForm::InvertSelection1Click() {
  host_.list().InvertSelection();
  ShowTicks();
}

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

void MainForm::SaveCfgClick() {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd_, GWLP_HINSTANCE));
  presets::SaveAsDialogs dialogs;
  dialogs.askName = [this, instance](std::string& name) {
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_INPUT_BOX), hwnd_, InputBoxProc,
                           reinterpret_cast<LPARAM>(&name)) == IDOK;
  };
  dialogs.nameInUse = [this] { MessageBoxA(hwnd_, kNameInUse, kNameInUseCaption, MB_OK); };
  dialogs.confirmOverwrite = [this] {
    return MessageBoxA(hwnd_, kOverwrite, kSaveSettingCaption, MB_YESNO | MB_ICONQUESTION) == IDYES;
  };
  dialogs.writeFailed = [this] { ReportWriteFailure(); };
  if (presets::SaveAs(host_.list(), box_, SettingsPath(), dialogs)) ShowPresetNames();
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
      TextOutA(draw.hDC, draw.rcItem.left + S(2), draw.rcItem.top, name.c_str(), static_cast<int>(name.size()));
    }
    return;
  }
  if (draw.CtlID != kCleaningItems) return;
  const std::vector<ListEntry>& entries = host_.list().entries();
  if (draw.itemID >= entries.size()) return;
  const ListEntry& entry = entries[draw.itemID];
  HDC dc = draw.hDC;

  RECT box = draw.rcItem;
  box.right = box.left + S(kCheckBoxWidth);
  FillRect(dc, &box, listBrush_ ? static_cast<HBRUSH>(listBrush_.get()) : GetSysColorBrush(COLOR_WINDOW));
  const int checkSize = S(13);
  const int checkTop = box.top + (box.bottom - box.top - checkSize) / 2;
  RECT check = {box.left + S(2), checkTop, box.left + S(2) + checkSize, checkTop + checkSize};
  DrawFrameControl(dc, &check, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (entry.ticked ? DFCS_CHECKED : 0));

  RECT rect = draw.rcItem;
  rect.left += S(kCheckBoxWidth);
  const bool selected = (draw.itemState & ODS_SELECTED) != 0;
  const COLORREF background = selected ? Colour(SelectedColor) : Colour(ListBoxColor);
  win::UniqueGdi brush(CreateSolidBrush(background));
  FillRect(dc, &rect, static_cast<HBRUSH>(brush.get()));
  // A 16-pixel icon at 96 DPI, drawn at the small-icon size of the window's DPI (the plug-in
  // gives its icon at that size where its file has it).
  if (HICON icon = entry.item->GetIcon()) {
    const int iconSize = dpi::Metric(SM_CXSMICON, dpi_);
    DrawIconEx(dc, rect.left + S(2), rect.top + S(1), icon, iconSize, iconSize, 0, nullptr, DI_NORMAL);
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, selected ? Colour(TextColorHighLight) : Colour(TextColor));
  TextOutA(dc, rect.left + S(22), rect.top + S(3), entry.caption.c_str(), static_cast<int>(entry.caption.size()));
}

void MainForm::Resize(int width, int height) {
  const int dx = width - S(kDesignClientWidth);
  const int dy = height - S(kDesignClientHeight);
  for (const ControlSpec& c : kControls) {
    int x = S(c.x), y = S(c.y), w = S(c.width), h = S(c.height);
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
  const int left = formrules::AboutLeft(clean.right, exitButton.left, aboutWidth);
  MoveWindow(GetDlgItem(hwnd_, kAboutBtn), left, about.top, aboutWidth, about.bottom - about.top, FALSE);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void MainForm::CleanBtnClick() {
  if (cleaning_) return;
  cleaning_ = true;
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  help_.Hide();
  hint_.Hide();
  CleaningResult result;
  {
    // The run hands pending messages to the windows between items and inside the walks;
    // the main window takes no input meanwhile.
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd_, GWLP_HINSTANCE));
    progressform::ProgressForm progressWindow(instance, hwnd_);
    EnableWindow(hwnd_, FALSE);
    progress::Listen(&progressWindow);
    result = RunCleaning(host_.list(), true);
    progress::Listen(nullptr);
    EnableWindow(hwnd_, TRUE);
  }
  SetCursor(previous);
  ShowWindow(hwnd_, SW_HIDE);
  const bool back = resultform::Show(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd_, GWLP_HINSTANCE)),
                                     result.lines, host_.settings(), host_.programFolder());
  if (back) StartProgramAgain();
  DestroyWindow(hwnd_);
}

HFONT MainForm::FormFont() const {
  return font_ ? static_cast<HFONT>(font_.get()) : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HELPINFO HelpInfoFor(HWND control, POINT mouse) {
  HELPINFO info{};
  info.cbSize = sizeof info;
  info.iContextType = HELPINFO_WINDOW;
  info.iCtrlId = GetDlgCtrlID(control);
  info.hItemHandle = control;
  info.dwContextId = GetWindowContextHelpId(control);
  info.MousePos = mouse;
  return info;
}

void MainForm::FormKeyDown(UINT key) {
  if (key == VK_F1) f1Pressed_ = true;
}

// Keeps track of how the focus reached "C&lean" and swallows the keys that would clean
// when the user did not choose it: Space and Enter on it, Enter elsewhere (it is the default
// button), its accelerator (which then only moves the focus there).
bool MainForm::GuardClean(const MSG& msg) {
  HWND clean = GetDlgItem(hwnd_, kCleanBtn);
  HWND focus = GetFocus();
  if (focus != clean)
    cleanChosen_ = false;
  else if (lastFocus_ != clean && userMovedFocus_)
    cleanChosen_ = true;
  lastFocus_ = focus;
  const bool ours = msg.hwnd == hwnd_ || IsChild(hwnd_, msg.hwnd);
  const bool key = msg.message == WM_KEYDOWN || msg.message == WM_KEYUP;
  userMovedFocus_ = ours && ((msg.message == WM_KEYDOWN && (msg.wParam == VK_TAB || msg.wParam == VK_LEFT ||
                                                            msg.wParam == VK_RIGHT || msg.wParam == VK_UP ||
                                                            msg.wParam == VK_DOWN)) ||
                             msg.message == WM_LBUTTONDOWN || msg.message == WM_LBUTTONDBLCLK);
  if (!ours || cleaning_) return false;
  if (key && msg.wParam == VK_SPACE && focus == clean && !cleanChosen_) return true;
  if (key && msg.wParam == VK_RETURN && !cleanChosen_) {
    // Enter on another button clicks that button; an open drop-down list takes its Enter.
    const bool otherButton = focus && focus != clean && IsWindow(focus) && GetParent(focus) == hwnd_ &&
                             (SendMessageA(focus, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON);
    const bool openList = SendDlgItemMessageA(hwnd_, kSettingsBox, CB_GETDROPPEDSTATE, 0, 0) != 0;
    return !otherButton && !openList;
  }
  if ((msg.message == WM_SYSCHAR || msg.message == WM_CHAR) &&
      formrules::LowerCase(static_cast<char>(msg.wParam)) == formrules::AcceleratorOf(kCleanCaption) &&
      (msg.message == WM_SYSCHAR ||
       !(focus && (SendMessageA(focus, WM_GETDLGCODE, msg.wParam, 0) & DLGC_WANTCHARS)))) {
    SetFocus(clean);
    lastFocus_ = clean;
    cleanChosen_ = true;
    return true;
  }
  return false;
}

bool MainForm::PreviewMessage(const MSG& msg) {
  if (TCustomHelpWindow::IsClosingEvent(msg.message)) {
    help_.Hide();
    hint_.Hide();
  }
  if (GuardClean(msg)) return true;
  if (msg.message != WM_KEYDOWN || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
  if (helpMode_ && msg.wParam == VK_ESCAPE) {
    EndHelpMode(nullptr);
    return true;
  }
  // F1 then goes on to the focused control, whose help request the platform raises.
  FormKeyDown(static_cast<UINT>(msg.wParam));
  return false;
}

void MainForm::StartHelpMode() {
  f1Pressed_ = false;
  helpMode_ = true;
  SetCapture(hwnd_);
  SetCursor(LoadCursor(nullptr, IDC_HELP));
}

void MainForm::EndHelpMode(const POINT* clickAt) {
  helpMode_ = false;
  ReleaseCapture();
  if (!clickAt) return;
  HWND control = ChildWindowFromPointEx(hwnd_, *clickAt, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
  if (!control || control == hwnd_) return;
  POINT screen = *clickAt;
  ClientToScreen(hwnd_, &screen);
  AppHelp(HelpInfoFor(control, screen));
}

void MainForm::AppHelp(const HELPINFO& info) {
  if (info.iContextType != HELPINFO_WINDOW) return;
  const int context = static_cast<int>(info.dwContextId);
  std::string text;
  RECT anchor{};
  // F1 speaks for the one help request that follows it, whichever control that is for.
  const bool fromF1 = f1Pressed_;
  f1Pressed_ = false;
  if (context == formrules::kHelpItemList) {
    int index;
    if (fromF1) {
      index = static_cast<int>(SendMessageA(list_, LB_GETCURSEL, 0, 0));
    } else {
      POINT at = info.MousePos;
      ScreenToClient(list_, &at);
      index = EntryAt(at);
    }
    const std::vector<ListEntry>& entries = host_.list().entries();
    const bool hasEntry = index >= 0 && static_cast<size_t>(index) < entries.size();
    text = formrules::HelpText(context, hasEntry, hasEntry ? entries[index].item->GetDescription() : "");
    if (hasEntry) {
      SendMessageA(list_, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&anchor));
    } else {
      // The list's second row, whether or not an entry stands there.
      RECT client;
      GetClientRect(list_, &client);
      const int rowHeight = static_cast<int>(SendMessageA(list_, LB_GETITEMHEIGHT, 0, 0));
      anchor = {0, rowHeight, client.right, 2 * rowHeight};
    }
    MapWindowPoints(list_, nullptr, reinterpret_cast<POINT*>(&anchor), 2);
  } else {
    text = formrules::HelpText(context, false, "");
    GetWindowRect(static_cast<HWND>(info.hItemHandle), &anchor);
  }
  if (text.empty()) return;
  const RECT size = help_.MeasureHelpText(S(formrules::kHelpWrapWidth), text);
  const int left = anchor.right + S(formrules::kHelpOffset);
  help_.ShowHelpText({left, anchor.top, left + size.right, anchor.top + size.bottom}, text);
}

void MainForm::AppShowHint(POINT clientPoint) {
  if (!trackingList_) {
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, list_, 0};
    trackingList_ = TrackMouseEvent(&track) != FALSE;
  }
  const int index = EntryAt(clientPoint);
  if (index < 0) {
    hint_.Hide();
    return;
  }
  const std::string& caption = host_.list().entries()[index].caption;
  RECT row{};
  SendMessageA(list_, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&row));
  SIZE size{};
  {
    const win::WindowDc dc(list_);
    const win::Selected selected(dc.get(), FormFont());
    GetTextExtentPoint32A(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &size);
  }
  if (!formrules::NeedsHint(row.right - row.left, size.cx, dpi_)) {
    hint_.Hide();
    return;
  }
  if (hint_.text() == caption) return;
  POINT at = {row.left + S(formrules::kHintLeftOffset), row.top};
  ClientToScreen(list_, &at);
  hint_.Show(at, caption, FormFont());
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
          DestroyWindow(hwnd_);
          return 0;
        case kCleanBtn:
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
        Rectangle(dc, S(kShape1.left), S(kShape1.top), client.right - S(kDesignClientWidth - kShape1.right),
                  client.bottom - S(kDesignClientHeight - kShape1.bottom));
        frame.AroundChild(hwnd_, list_);
      }
      EndPaint(hwnd_, &paint);
      return 0;
    }
    case WM_SIZE:
      Resize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_HELP:
      AppHelp(*reinterpret_cast<const HELPINFO*>(lParam));
      return TRUE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CONTEXTHELP) {
        StartHelpMode();
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      if (helpMode_) {
        POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        EndHelpMode(message == WM_LBUTTONDOWN ? &at : nullptr);
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      helpMode_ = false;
      break;
    case WM_SETCURSOR:
      if (helpMode_) {
        SetCursor(LoadCursor(nullptr, IDC_HELP));
        return TRUE;
      }
      break;
    case WM_ACTIVATEAPP:
      help_.Hide();
      hint_.Hide();
      break;
    case WM_GETMINMAXINFO:
      return windowparts::SetMinimumSize(hwnd_, lParam, kMinWidth, kMinHeight);
    case WM_DPICHANGED:
      DpiChanged(HIWORD(wParam), lParam);
      return 0;
    case WM_MOUSEWHEEL:
      if (GetFocus() != list_) return SendMessageA(list_, message, wParam, lParam);
      break;
    case WM_CLOSE:
      if (!busy_ && !cleaning_) DestroyWindow(hwnd_);
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
  return windowparts::Guarded([&] { return form->HandleList(hwnd, message, wParam, lParam); },
                              [&] { return CallWindowProcA(form->listProc_, hwnd, message, wParam, lParam); });
}

LRESULT MainForm::HandleList(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MainForm* form = this;
  if (message == WM_MOUSEMOVE) {
    form->AppShowHint({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
  } else if (message == WM_MOUSELEAVE) {
    form->trackingList_ = false;
    form->hint_.Hide();
  }
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
    const int x = static_cast<short>(LOWORD(lParam));
    const LRESULT hit = SendMessageA(hwnd, LB_ITEMFROMPOINT, 0, lParam);
    if (x < form->S(kCheckBoxWidth) && HIWORD(hit) == 0) form->ToggleTick(LOWORD(hit));
  } else if (message == WM_RBUTTONDOWN) {
    form->CleaningItemsMouseDown({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
    return 0;
  } else if (message == WM_CHAR && wParam == ' ') {
    form->ToggleTick(static_cast<int>(SendMessageA(hwnd, LB_GETCURSEL, 0, 0)));
    return 0;
  }
  return CallWindowProcA(form->listProc_, hwnd, message, wParam, lParam);
}

void StartProgramAgain() {
  char path[MAX_PATH];
  if (GetModuleFileNameA(nullptr, path, MAX_PATH) < MAX_PATH)
    ShellExecuteA(nullptr, "open", path, nullptr, nullptr, SW_SHOWNORMAL);
}

int RunMessageLoop(MainForm& form) {
  const bool untilQuit = false;
  ownerdrawbtn::RunFormLoop(form.hwnd(), untilQuit, [&form](const MSG& msg) { return form.PreviewMessage(msg); });
  return 0;
}

int RunHost(HINSTANCE instance) {
  dpi::DeclareAwareness();
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
    return RunMessageLoop(form);
  }
  form.ApplyColours();

  progressform::WaitForm wait;
  HCURSOR normalCursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  form.SetBusy(true);
  wait.Create(instance, host.settings().colours[WindowColor]);
  host.LoadPluginsAndFill();
  wait.Close();
  form.SetBusy(false);
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
  return RunMessageLoop(form);
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
