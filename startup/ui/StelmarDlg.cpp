#include "startup/ui/StelmarDlg.h"

#include "common/Dpi.h"

#include <utility>

#include "startup/EntryMoves.h"
#include "startup/StartupConstants.h"
#include "startup/platform/errorresources/Assertion.h"
#include "startup/platform/errorresources/Exceptions.h"
#include "startup/ui/AddEntryDialog.h"
#include "startup/ui/LoadOrderDialog.h"
#include "startup/ui/StelmarIds.h"
#include "startup/util/StringHelper.h"
#include "startup/util/UrlEncoder.h"
#include "startup/util/parser/ArgumentParserHelpers.h"
#include "startup/database/RegistryDatabase.h"
#include "startup/windows/file/NativeView.h"
#include "startup/windows/file/WindowsFileHelper.h"
#include "startup/windows/internet/InternetHelper.h"
#include "startup/windows/process/ProcessHelper.h"

namespace products::stelmar::ui {

namespace {

using util::parser::ArgumentParserHelpers;
using C = StartupConstants;
using windows::file::WindowsFileHelper;
using windows::process::ProcessHelper;

// Fixed images of the normal list, and the state images.
enum { IMAGE_FOLDER, IMAGE_FOLDER_OPEN, IMAGE_NO_FILE, IMAGE_LOCATION_ERROR, FIXED_IMAGES };
enum { STATE_NONE, STATE_TICKED, STATE_EMPTY };
constexpr COLORREF TRANSPARENT_COLOUR = RGB(255, 255, 255);

// The file an entry starts: its program path without quotes.
std::string entryFile(const std::string& data) {
  return util::StringHelper::removeQuotes(ArgumentParserHelpers::getProgramPath(data));
}

// The 16-pixel bitmaps are drawn at the small-icon size of the DPI.
void addBitmap(HIMAGELIST list, int id, int size) {
  HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                                   IMAGE_BITMAP, size, size, LR_CREATEDIBSECTION));
  ImageList_AddMasked(list, bitmap, TRANSPARENT_COLOUR);
  DeleteObject(bitmap);
}

}  // namespace

StartupItem StelmarDlg::entryOf(HTREEITEM item) const {
  const StartupItem* entry = leafMap.findSecond(item);
  if (!entry) {
    errorresources::assertion("exists(first)", __FILE__, __LINE__);
    throw exceptions::Exception("The tree item shows no startup entry.");
  }
  return *entry;
}

StelmarDlg::StelmarDlg(MessageBoxHandler& errorHandler, StartupInterface& startup,
                       bool isWindowsNT, std::string instanceTag, bool windows64)
    : _errorHandler(errorHandler),
      _interface(startup),
      _isWindowsNT(isWindowsNT),
      _windows64(windows64),
      _instanceTag(std::move(instanceTag)) {}

StelmarDlg::~StelmarDlg() {
  if (_normalImages) ImageList_Destroy(_normalImages);
  if (_stateImages) ImageList_Destroy(_stateImages);
}

void StelmarDlg::run() {
  _dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_STELMAR), nullptr,
                               dialogProc, reinterpret_cast<LPARAM>(this));
  if (!_dialog) return;
  ShowWindow(_dialog, SW_SHOW);
  UpdateWindow(_dialog);
  setMessageOwner(_dialog);
  if (_shown) _shown();
  // The dialog's own loop, so that every message passes the Delete-key check first.
  MSG message;
  while (!_closed && GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (preTranslate(message)) continue;
    if (IsDialogMessageA(_dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  setMessageOwner(nullptr);
  if (IsWindow(_dialog)) DestroyWindow(_dialog);
  _dialog = nullptr;
}

INT_PTR CALLBACK StelmarDlg::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrA(dialog, DWLP_USER, lParam);
  auto* self = reinterpret_cast<StelmarDlg*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (!self) return FALSE;
  if (message == WM_INITDIALOG) self->_dialog = dialog;
  try {
    return self->handle(message, wParam, lParam);
  } catch (const exceptions::Exception& failure) {
    self->_errorHandler.handleError(failure.getMessage());
  } catch (...) {
    STELMAR_ASSERT(false);
  }
  return FALSE;
}

INT_PTR StelmarDlg::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      initialise();
      return TRUE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == IDM_ABOUT) {
        MessageBoxA(_dialog, ABOUT_TEXT, PRODUCT_NAME, MB_OK | MB_ICONINFORMATION);
        return TRUE;
      }
      return FALSE;
    case WM_PAINT:
      if (IsIconic(_dialog)) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(_dialog, &paint);
        RECT client;
        GetClientRect(_dialog, &client);
        DrawIcon(dc, (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2,
                 (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2, _icon);
        EndPaint(_dialog, &paint);
        return TRUE;
      }
      return FALSE;
    case WM_QUERYDRAGICON:
      return reinterpret_cast<INT_PTR>(_icon);
    case WM_DPICHANGED:
      // The system scales the dialog's layout and fonts; the images are the dialog's own.
      dpi::ApplySuggestedRect(_dialog, lParam);
      createImages();
      refreshTree();
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom != IDC_TREE) return FALSE;
      SetWindowLongPtrA(_dialog, DWLP_MSGRESULT, onNotify(*header));
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_REFRESH:
          refreshTree();
          return TRUE;
        case IDC_HELP_BUTTON:
          onHelp();
          return TRUE;
        case IDOK:
        case IDCANCEL:
          _closed = true;
          RemovePropA(_dialog, _instanceTag.c_str());
          DestroyWindow(_dialog);
          return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

void StelmarDlg::initialise() {
  HMENU systemMenu = GetSystemMenu(_dialog, FALSE);
  if (systemMenu) {
    AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(systemMenu, MF_STRING, IDM_ABOUT, "&About..");
  }
  _icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_STELMAR));
  SendMessageA(_dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(_icon));
  SendMessageA(_dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(_icon));

  _tree.attach(GetDlgItem(_dialog, IDC_TREE));
  _tree.setDragHandler(this);
  createImages();

  for (const LocationNode& node : locationNodes(_isWindowsNT, _windows64)) {
    HTREEITEM parent = node.parent < 0 ? TVI_ROOT : _nodes[node.parent];
    HTREEITEM item = _tree.insertItem(node.caption, parent, IMAGE_FOLDER, IMAGE_FOLDER_OPEN, false,
                                      0, TVI_SORT);
    _nodes.push_back(item);
    if (node.type >= 0) typeNodeMap.insert(node.type, item);
    descriptionMap[item] = node.description;
  }
  _autostartNode = _nodes[1];
  refreshTree();
  for (int index : expandedNodes()) _tree.expand(_nodes[index]);
  SetWindowTextA(_dialog, PRODUCT_NAME);
  SetPropA(_dialog, _instanceTag.c_str(), reinterpret_cast<HANDLE>(1));
}

void StelmarDlg::createImages() {
  const int dialogDpi = dpi::ForWindow(_dialog);
  const int size = dpi::Metric(SM_CXSMICON, dialogDpi);
  HIMAGELIST normal = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, FIXED_IMAGES, 1);
  HIMAGELIST state = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 3, 0);
  for (int id : {IDB_FOLDER, IDB_FOLDER_OPEN, IDB_CROSS, IDB_FOLDER_ERROR}) addBitmap(normal, id, size);
  for (int id : {IDB_CROSS, IDB_TICKED, IDB_EMPTY}) addBitmap(state, id, size);
  _tree.setImageList(normal, TVSIL_NORMAL);
  _tree.setImageList(state, TVSIL_STATE);
  if (_normalImages) ImageList_Destroy(_normalImages);
  if (_stateImages) ImageList_Destroy(_stateImages);
  _normalImages = normal;
  _stateImages = state;
  // The banner at the DPI: its 96-DPI size scaled (a bitmap control takes its bitmap's size).
  HWND banner = GetDlgItem(_dialog, IDC_BANNER);
  HANDLE image = nullptr;
  if (HANDLE original = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_BANNER), IMAGE_BITMAP, 0, 0,
                                   LR_CREATEDIBSECTION)) {
    BITMAP bitmap{};
    GetObjectA(original, sizeof bitmap, &bitmap);
    DeleteObject(original);
    image = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_BANNER), IMAGE_BITMAP,
                       dpi::Scale(bitmap.bmWidth, dialogDpi), dpi::Scale(bitmap.bmHeight, dialogDpi),
                       LR_CREATEDIBSECTION);
  }
  if (banner && image) {
    HANDLE old = reinterpret_cast<HANDLE>(
        SendMessageA(banner, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image)));
    // STM_SETIMAGE hands back the previous image, which is the caller's to delete.
    if (old && old != image) DeleteObject(old);
  } else if (image) {
    DeleteObject(image);
  }
}

void StelmarDlg::refreshTree() {
  ImageList_SetImageCount(_normalImages, FIXED_IMAGES);
  leafMap.clear();
  // The tree is drawn once, when it is filled.
  const TreeControl::RedrawOff redrawOff(_tree);
  IconCache icons;
  for (int type : _interface.getTypes()) {
    HTREEITEM node = typeNodeMap.getSecond(type);
    std::string failure;
    try {
      _tree.deleteChildren(node);
      insertLeaves(_interface.getEntries(type), node, icons);
      // A node of a location that failed before and now reads whole gets its folder back.
      _tree.setItemImage(node, IMAGE_FOLDER, IMAGE_FOLDER_OPEN);
      errorMap.erase(node);
      continue;
    } catch (const exceptions::Exception& e) {
      failure = e.getMessage();
    } catch (...) {
      failure = UNEXPECTED_LEAF_FAILURE;
      STELMAR_ASSERT(false);
    }
    _tree.setItemImage(node, IMAGE_LOCATION_ERROR, IMAGE_LOCATION_ERROR);
    errorMap.emplace(node, failure);
  }
}

bool StelmarDlg::judgedNatively(int type) const {
  return database::RegistryDatabase::getView(type, _windows64) == KEY_WOW64_64KEY;
}

std::optional<std::string> StelmarDlg::findEntryFile(const StartupItem& entry) const {
  const std::string file = entryFile(entry.getData());
  if (judgedNatively(entry.getType())) return windows::file::findNativeFile(file);
  if (!WindowsFileHelper::fileExists(file)) return std::nullopt;
  return file;
}

int StelmarDlg::iconOf(const StartupItem& entry, IconCache& icons) {
  const auto cacheKey = std::make_pair(judgedNatively(entry.getType()), entryFile(entry.getData()));
  const auto known = icons.find(cacheKey);
  if (known != icons.end()) return known->second;
  int image = IMAGE_NO_FILE;
  if (const std::optional<std::string> file = findEntryFile(entry)) {
    try {
      const auto icon = WindowsFileHelper::extractAssociatedIcon(*file);
      const int index = ImageList_AddIcon(_normalImages, icon.get());
      if (index >= 0) image = index;
    } catch (const exceptions::Exception&) {
      // No icon: the leaf shows the red cross.
    }
  }
  icons.emplace(cacheKey, image);
  return image;
}

void StelmarDlg::insertLeaves(const std::vector<StartupItem>& entries, HTREEITEM node) {
  IconCache icons;
  insertLeaves(entries, node, icons);
}

void StelmarDlg::insertLeaves(const std::vector<StartupItem>& entries, HTREEITEM node,
                              IconCache& icons) {
  for (const StartupItem& entry : entries) {
    const int image = iconOf(entry, icons);
    const bool enabled = entry.getState() == C::ENABLED;
    HTREEITEM item = _tree.insertItem(entry.getName(), node, image, image, true,
                                      enabled ? STATE_TICKED : STATE_EMPTY, TVI_LAST);
    // The leaf holds the entry as its box shows it: any state but enabled is disabled.
    StartupItem shown = entry;
    shown.setState(enabled ? C::ENABLED : C::DISABLED);
    leafMap.insert(item, shown);
  }
}

void StelmarDlg::setLeafState(HTREEITEM item, bool enabled) {
  STELMAR_ASSERT(leafMap.exists(item));
  if (StartupItem* entry = leafMap.findSecond(item)) entry->setState(enabled ? C::ENABLED : C::DISABLED);
  _tree.setStateImage(item, enabled ? STATE_TICKED : STATE_EMPTY);
}

void StelmarDlg::changeEntryState(HTREEITEM item, bool enable) {
  try {
    StartupItem entry = entryOf(item);
    const bool done = enable ? _interface.enableEntry(entry) : _interface.disableEntry(entry);
    // The store has said why it could not; the box keeps showing the entry as it is.
    if (!done) {
      STELMAR_ASSERT(false);
      return;
    }
    setLeafState(item, enable);
  } catch (const exceptions::Exception& e) {
    _errorHandler.handleError(e.getMessage());
    STELMAR_ASSERT(false);
  } catch (...) {
    STELMAR_ASSERT(false);
  }
}

bool StelmarDlg::removeLeaf(HTREEITEM item) {
  StartupItem entry = entryOf(item);
  if (!_interface.deleteEntry(entry)) return false;
  _tree.deleteItem(item);
  leafMap.erase(item);
  return true;
}

void StelmarDlg::deleteEntryFromTree(HTREEITEM item) {
  try {
    removeLeaf(item);
  } catch (const exceptions::Exception& e) {
    _errorHandler.handleError(e.getMessage());
  } catch (...) {
    STELMAR_ASSERT(false);
  }
}

bool StelmarDlg::makeRoomFor(const StartupItem& formatted, HTREEITEM replaced,
                             std::vector<StartupItem>* overwritten) {
  if (!leafMap.secondExists(formatted)) return true;
  HTREEITEM existing = leafMap.getFirst(formatted);
  if (existing == replaced) return true;
  if (!QuestionBox(OVERWRITE_CAPTION).ask(overwriteQuestion(formatted.getName()))) return false;
  if (overwritten) overwritten->push_back(entryOf(existing));
  return removeLeaf(existing);
}

StelmarDlg::AddOutcome StelmarDlg::addEntry(const StartupItem& entry) {
  StartupItem given = entry;
  StartupItem formatted = _interface.formatEntry(given);
  std::vector<StartupItem> overwritten;
  if (!makeRoomFor(formatted, nullptr, &overwritten))
    return overwritten.empty() ? AddOutcome::Refused : AddOutcome::Failed;
  HTREEITEM node = typeNodeMap.getSecond(formatted.getType());
  // Adding makes an entry live; a disabled one is then set aside again, so that what the
  // tree shows is what the store holds.
  const bool disabled = formatted.getState() == C::DISABLED;
  StartupItem added(formatted.getType(), C::ENABLED, formatted.getName(), formatted.getData());
  if (!_interface.addEntry(added)) {
    // The entry that was to be overwritten comes back.
    for (StartupItem& old : overwritten) {
      StartupItem live(old.getType(), C::ENABLED, old.getName(), old.getData());
      if (!_interface.addEntry(live)) continue;
      if (old.getState() == C::DISABLED) _interface.disableEntry(live);
      insertLeaves({live}, node);
    }
    return AddOutcome::Failed;
  }
  if (disabled) _interface.disableEntry(added);
  insertLeaves({added}, node);
  return AddOutcome::Added;
}

bool StelmarDlg::addEntryToTree(const StartupItem& entry) {
  try {
    return addEntry(entry) != AddOutcome::Refused;
  } catch (const exceptions::Exception& e) {
    _errorHandler.handleError(e.getMessage());
  } catch (...) {
    STELMAR_ASSERT(false);
  }
  return true;
}

LRESULT StelmarDlg::onNotify(const NMHDR& header) {
  switch (header.code) {
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
      onSelectionChanged(reinterpret_cast<const NMTREEVIEWA&>(header).itemNew.hItem);
      return 0;
    case NM_CLICK:
      onClick();
      return 0;
    case NM_RCLICK:
      onContextMenu();
      return 1;
    case TVN_BEGINDRAGA:
    case TVN_BEGINDRAGW: {
      const auto& view = reinterpret_cast<const NMTREEVIEWA&>(header);
      _tree.beginDrag(view.itemNew.hItem, view.ptDrag);
      return 0;
    }
  }
  return 0;
}

void StelmarDlg::onSelectionChanged(HTREEITEM item) {
  _commandText.clear();
  if (isLeaf(item)) _commandText = entryOf(item).getData();
  SetDlgItemTextA(_dialog, IDC_COMMAND, _commandText.c_str());
}

namespace {

// The tree item under the cursor position of the message being handled.
HTREEITEM hitTest(HWND tree, UINT& flags) {
  const DWORD position = GetMessagePos();
  TVHITTESTINFO hit{};
  hit.pt = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
  ScreenToClient(tree, &hit.pt);
  HTREEITEM item = TreeView_HitTest(tree, &hit);
  flags = hit.flags;
  return item;
}

}  // namespace

void StelmarDlg::onClick() {
  UINT flags = 0;
  HTREEITEM item = hitTest(_tree.hwnd(), flags);
  if (!item || !(flags & TVHT_ONITEMSTATEICON) || !isLeaf(item)) return;
  changeEntryState(item, entryOf(item).getState() == C::DISABLED);
}

void StelmarDlg::onContextMenu() {
  UINT flags = 0;
  HTREEITEM item = hitTest(_tree.hwnd(), flags);
  if (!item) return;
  TreeView_SelectItem(_tree.hwnd(), item);
  if (!(flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON))) return;
  ItemKind kind = ItemKind::OtherNode;
  if (isLeaf(item))
    kind = entryOf(item).getState() == C::ENABLED ? ItemKind::EnabledLeaf
                                                            : ItemKind::DisabledLeaf;
  else if (isTypeNode(item))
    kind = ItemKind::TypeNode;
  HMENU menu = CreatePopupMenu();
  const std::vector<MenuItem> items = menuFor(kind);
  for (auto i = items.rbegin(); i != items.rend(); ++i)
    InsertMenuA(menu, 0, MF_BYPOSITION | MF_STRING, i->command, i->text);
  const DWORD position = GetMessagePos();
  const int command = TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                     static_cast<short>(LOWORD(position)),
                                     static_cast<short>(HIWORD(position)), 0, _dialog, nullptr);
  DestroyMenu(menu);
  if (command) runCommand(command, item);
}

void StelmarDlg::runCommand(int command, HTREEITEM item) {
  switch (command) {
    case CMD_DISABLE:
      changeEntryState(item, false);
      break;
    case CMD_ENABLE:
      changeEntryState(item, true);
      break;
    case CMD_DELETE:
      if (QuestionBox(DELETE_QUESTION_CAPTION).ask(DELETE_QUESTION)) deleteEntryFromTree(item);
      break;
    case CMD_RUN:
      runEntry(entryOf(item));
      break;
    case CMD_ENTRY_INFO:
      entryInformation(entryOf(item));
      break;
    case CMD_ONLINE_INFO:
      showOnlineInfo(entryOf(item));
      break;
    case CMD_LOCATION_INFO:
      locationInformation(item);
      break;
    case CMD_ADD:
      addToLocation(item);
      break;
    case CMD_EDIT:
      editEntry(item);
      break;
    case CMD_LOAD_ORDER:
      changeLoadOrder(item);
      break;
  }
}

void StelmarDlg::runEntry(const StartupItem& entry) {
  try {
    // A program of the native view is started from where 64-bit Windows finds it.
    std::string file = entryFile(entry.getData());
    if (judgedNatively(entry.getType())) file = findEntryFile(entry).value_or(file);
    if (ArgumentParserHelpers::isProgram(file))
      ProcessHelper::createProcess(file, NORMAL_PRIORITY_CLASS, false);
    else
      ProcessHelper::runShellCommand(file, "open");
  } catch (const exceptions::Exception& e) {
    _errorHandler.handleError(e.getMessage());
  } catch (...) {
    STELMAR_ASSERT(false);
  }
}

void StelmarDlg::entryInformation(const StartupItem& entry) {
  // The file check can fail (an unreadable folder); its text is shown like any other.
  try {
    const bool found = findEntryFile(entry).has_value();
    _errorHandler.handleInformation(
        ui::entryInformation(entry.getData(), found, entry.isSwitchedOffByWindows()));
  } catch (const exceptions::Exception& e) {
    _errorHandler.handleError(e.getMessage());
  }
}

void StelmarDlg::locationInformation(HTREEITEM node) {
  const auto error = errorMap.find(node);
  _errorHandler.handleInformation(
      ui::locationInformation(descriptionMap[node], error == errorMap.end() ? "" : error->second));
}

std::string StelmarDlg::commandFileName(const std::string& commandLine) {
  try {
    std::string path = ArgumentParserHelpers::getProgramPath(commandLine);
    try {
      path = WindowsFileHelper::toLongPath(path);
    } catch (const exceptions::Exception&) {
      // The path is kept as it was written.
    }
    return ArgumentParserHelpers::getFileName(path);
  } catch (const exceptions::Exception& e) {
    _errorHandler.handleError(e.getMessage());
  } catch (...) {
    STELMAR_ASSERT(false);
  }
  return std::string();
}

void StelmarDlg::showOnlineInfo(const StartupItem& entry) {
  try {
    const std::string name = onlineInfoName(entry.getType(), entry.getName());
    std::string file = commandFileName(entry.getData());
    if (isRundll(file)) {
      const std::string library = rundllLibrary(ArgumentParserHelpers::getArguments(entry.getData()));
      if (!library.empty()) file = commandFileName(library) + ";" + file;
    }
    windows::internet::launchBrowser(onlineInfoAddress(_onlineInfoAddress, file, name, util::encodeQueryValue));
  } catch (const exceptions::Exception& e) {
    _errorHandler.handleError(e.getMessage());
  } catch (...) {
    STELMAR_ASSERT(false);
  }
}

void StelmarDlg::addToLocation(HTREEITEM node) {
  try {
    AddEntryDialog dialog(_errorHandler, "", "", judgedNatively(typeNodeMap.getFirst(node)));
    if (!dialog.run(_dialog)) return;
    addEntryToTree(StartupItem(typeNodeMap.getFirst(node), C::ENABLED, dialog.name(), dialog.path()));
  } catch (const exceptions::Exception& e) {
    _errorHandler.handleError(e.getMessage());
  } catch (...) {
    STELMAR_ASSERT(false);
  }
}

void StelmarDlg::editEntry(HTREEITEM item) {
  try {
    StartupItem old = entryOf(item);
    AddEntryDialog dialog(_errorHandler, old.getName(), old.getData(),
                          judgedNatively(old.getType()));
    if (!dialog.run(_dialog)) return;
    StartupItem given(old.getType(), old.getState(), dialog.name(), dialog.path());
    // Kept exactly where the command line stays as it was.
    if (old.getSourceValue()) given.setSourceValue(*old.getSourceValue());
    StartupItem edited = _interface.formatEntry(given);
    // Refusing to overwrite another entry leaves the edited one as it was.
    if (!makeRoomFor(edited, item, nullptr)) return;
    HTREEITEM node = _tree.parent(item);
    if (!products::stelmar::editEntry(_interface, old, edited)) {
      // The old entry is back where the store could put it; the tree reads it again.
      refreshTree();
      return;
    }
    _tree.deleteItem(item);
    leafMap.erase(item);
    insertLeaves({edited}, node);
  } catch (const exceptions::Exception& e) {
    _errorHandler.handleError(e.getMessage());
  } catch (...) {
    STELMAR_ASSERT(false);
  }
}

void StelmarDlg::changeLoadOrder(HTREEITEM node) {
  try {
    if (_tree.parent(node) == _autostartNode) {
      _errorHandler.handleInformation(NO_LOAD_ORDER_FOR_AUTOSTART);
      return;
    }
    LoadOrderDialog dialog(_errorHandler, _interface.getEntries(typeNodeMap.getFirst(node)));
    if (!dialog.run(_dialog)) return;
    _interface.replaceAllEntries(dialog.entries());
    refreshTree();
  } catch (const exceptions::Exception& e) {
    _errorHandler.handleError(e.getMessage());
    STELMAR_ASSERT(false);
  } catch (...) {
    STELMAR_ASSERT(false);
  }
}

bool StelmarDlg::canDrag(HTREEITEM item) {
  if (!isLeaf(item)) return false;
  const StartupItem entry = entryOf(item);
  if (C::isAutostartType(entry.getType()) && !ArgumentParserHelpers::isShortcut(entry.getName())) {
    _errorHandler.handleInformation(SHORTCUTS_ONLY);
    return false;
  }
  return true;
}

bool StelmarDlg::canDrop(HTREEITEM item) { return isLeaf(item) || isTypeNode(item); }

void StelmarDlg::drop(HTREEITEM dragged, HTREEITEM target) {
  if (!target || !isLeaf(dragged)) return;
  try {
    if (isLeaf(target)) target = _tree.parent(target);
    if (target == _tree.parent(dragged)) return;
    StartupItem source = entryOf(dragged);
    StartupItem given(typeNodeMap.getFirst(target), C::ENABLED, source.getName(), source.getData());
    if (source.getSourceValue()) given.setSourceValue(*source.getSourceValue());
    StartupItem moved = _interface.formatEntry(given);
    if (!makeRoomFor(moved, nullptr, nullptr)) return;
    // The source is deleted only once its copy stands at the new place.
    if (!products::stelmar::moveEntry(_interface, source, moved)) {
      // The store reported why; the tree is read again, which makes its items new.
      refreshTree();
      return;
    }
    _tree.deleteItem(dragged);
    leafMap.erase(dragged);
    insertLeaves({moved}, target);
    _tree.expand(target);
  } catch (const exceptions::Exception& e) {
    _errorHandler.handleError(e.getMessage());
  } catch (...) {
    STELMAR_ASSERT(false);
  }
}

void StelmarDlg::onHelp() {
  std::string folder;
  try {
    folder = WindowsFileHelper::getCurrentDirectory();
    windows::internet::launchBrowser(manualAddress(folder));
  } catch (const windows::internet::CouldNotLaunchInternetBrowserException& e) {
    // Where hyperlink navigation is missing, the shell opens the manual with whatever
    // program shows web pages here.
    try {
      ProcessHelper::runShellCommand(folder + MANUAL_FILE, "open");
      return;
    } catch (const exceptions::Exception&) {
    }
    _errorHandler.handleError(HELP_BROWSER_FAILED_BEFORE + e.getMessage() + HELP_BROWSER_FAILED_AFTER);
  } catch (const exceptions::Exception& e) {
    _errorHandler.handleError(HELP_FAILED_BEFORE + e.getMessage() + HELP_FAILED_AFTER);
  } catch (...) {
    STELMAR_ASSERT(false);
  }
}

bool StelmarDlg::preTranslate(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_DELETE) return false;
  if (message.hwnd != _dialog && !IsChild(_dialog, message.hwnd)) return false;
  HTREEITEM selected = TreeView_GetSelection(_tree.hwnd());
  if (isLeaf(selected) && QuestionBox(DELETE_QUESTION_CAPTION).ask(DELETE_QUESTION))
    deleteEntryFromTree(selected);
  return false;
}

}  // namespace products::stelmar::ui
