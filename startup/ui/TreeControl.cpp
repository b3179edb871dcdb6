#include "startup/ui/TreeControl.h"

#include <cstring>

#include "startup/platform/errorresources/Assertion.h"
#include "startup/platform/errorresources/Exceptions.h"
#include "startup/platform/errorresources/SystemErrors.h"

namespace products::stelmar::ui {

namespace {

const char* const INSERT_FAILED_BEFORE = "Could not insert item ";
const char* const INSERT_FAILED_AFTER = " into the tree.\n";
const char* const DELETE_FAILED = "Could not delete an item from the tree.\n";
const char* const STATE_FAILED = "Could not set the image state of a tree item.\n";
const char* const IMAGE_FAILED = "Could not set the item image in a tree.\n";
const char* const EXPAND_FAILED = "Could not expand the tree to an item.\n";
const char* const PARENT_FAILED = "Could not get the parent item in the tree control.\n";

constexpr std::size_t TEXT_BUFFER = 1024;
// The hot spot sits this far right of the label's left edge, over the item's icons.
constexpr int HOT_SPOT_OFFSET = 22;
constexpr UINT_PTR SUBCLASS_ID = 1;

[[noreturn]] void fail(const std::string& text) {
  throw TreeControlException(text + SystemErrors::map(static_cast<int>(::GetLastError())));
}

}  // namespace

TreeControl::~TreeControl() {
  if (_dragImage) ImageList_Destroy(_dragImage);
  if (_tree) RemoveWindowSubclass(_tree, subclassProc, SUBCLASS_ID);
}

TreeControl::RedrawOff::RedrawOff(TreeControl& tree) : _tree(tree._tree) {
  SendMessageA(_tree, WM_SETREDRAW, FALSE, 0);
}

TreeControl::RedrawOff::~RedrawOff() {
  SendMessageA(_tree, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(_tree, nullptr, TRUE);
}

void TreeControl::attach(HWND tree) {
  _tree = tree;
  SetWindowSubclass(tree, subclassProc, SUBCLASS_ID, reinterpret_cast<DWORD_PTR>(this));
}

void TreeControl::setDragHandler(DragHandler* dragHandler) {
  STELMAR_ASSERT(dragHandler);
  _dragHandler = dragHandler;
}

HTREEITEM TreeControl::insertItem(const std::string& text, HTREEITEM parent, int image,
                                  int selectedImage, bool withStateImage, int stateImage,
                                  HTREEITEM insertAfter) {
  STELMAR_ASSERT(text.size() < 1024);
  // A longer text is shortened to what the buffer holds.
  char buffer[TEXT_BUFFER] = {};
  std::memcpy(buffer, text.data(), text.size() < TEXT_BUFFER ? text.size() : TEXT_BUFFER - 1);
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = insertAfter;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = buffer;
  insert.item.iImage = image;
  insert.item.iSelectedImage = selectedImage;
  if (withStateImage) {
    insert.item.mask |= TVIF_STATE;
    insert.item.state = INDEXTOSTATEIMAGEMASK(stateImage);
    insert.item.stateMask = TVIS_STATEIMAGEMASK;
  }
  ::SetLastError(0);
  const auto item = reinterpret_cast<HTREEITEM>(
      SendMessageA(_tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  if (!item) fail(INSERT_FAILED_BEFORE + text + INSERT_FAILED_AFTER);
  return item;
}

void TreeControl::deleteItem(HTREEITEM item) {
  ::SetLastError(0);
  if (!TreeView_DeleteItem(_tree, item)) fail(DELETE_FAILED);
}

void TreeControl::deleteChildren(HTREEITEM item) {
  HTREEITEM child = TreeView_GetChild(_tree, item);
  while (child) {
    HTREEITEM next = TreeView_GetNextSibling(_tree, child);
    deleteItem(child);
    child = next;
  }
}

void TreeControl::setStateImage(HTREEITEM item, int index) {
  TVITEMA change{};
  change.mask = TVIF_STATE;
  change.hItem = item;
  change.state = INDEXTOSTATEIMAGEMASK(index);
  change.stateMask = TVIS_STATEIMAGEMASK;
  ::SetLastError(0);
  if (!SendMessageA(_tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&change))) fail(STATE_FAILED);
}

int TreeControl::getStateImage(HTREEITEM item) const {
  const UINT state = TreeView_GetItemState(_tree, item, TVIS_STATEIMAGEMASK);
  return static_cast<int>((state & TVIS_STATEIMAGEMASK) >> 12);
}

void TreeControl::setItemImage(HTREEITEM item, int image, int selectedImage) {
  TVITEMA change{};
  change.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  change.hItem = item;
  change.iImage = image;
  change.iSelectedImage = selectedImage;
  ::SetLastError(0);
  if (!SendMessageA(_tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&change))) fail(IMAGE_FAILED);
}

void TreeControl::expand(HTREEITEM item) {
  // Expanding an open node changes nothing, and the control reports that as a failure.
  if (TreeView_GetItemState(_tree, item, TVIS_EXPANDED) & TVIS_EXPANDED) return;
  ::SetLastError(0);
  if (!TreeView_Expand(_tree, item, TVE_EXPAND)) fail(EXPAND_FAILED);
}

HTREEITEM TreeControl::parent(HTREEITEM item) {
  ::SetLastError(0);
  HTREEITEM parentItem = TreeView_GetParent(_tree, item);
  if (!parentItem) fail(PARENT_FAILED);
  return parentItem;
}

void TreeControl::setImageList(HIMAGELIST list, int which) { TreeView_SetImageList(_tree, list, which); }

void TreeControl::beginDrag(HTREEITEM item, POINT dragPoint) {
  TreeView_SelectItem(_tree, item);
  STELMAR_ASSERT(_dragHandler);
  if (!_dragHandler || !_dragHandler->canDrag(item)) return;
  _dragged = item;
  _dropTarget = nullptr;
  _dragImage = TreeView_CreateDragImage(_tree, item);
  if (!_dragImage) return;
  RECT label{};
  TreeView_GetItemRect(_tree, item, &label, TRUE);
  POINT screen = dragPoint;
  ClientToScreen(_tree, &screen);
  ImageList_BeginDrag(_dragImage, 0, dragPoint.x - label.left + HOT_SPOT_OFFSET,
                      dragPoint.y - label.top);
  ImageList_DragEnter(nullptr, screen.x, screen.y);
  _dragging = true;
  SetCapture(_tree);
}

void TreeControl::onMouseMove() {
  POINT cursor{};
  GetCursorPos(&cursor);
  ImageList_DragMove(cursor.x, cursor.y);
  POINT client = cursor;
  ScreenToClient(_tree, &client);
  TVHITTESTINFO hit{};
  hit.pt = client;
  HTREEITEM item = TreeView_HitTest(_tree, &hit);
  ImageList_DragShowNolock(FALSE);
  if (_dragHandler->canDrop(item)) {
    _dropTarget = item;
    TreeView_SelectDropTarget(_tree, item);
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
  } else {
    SetCursor(LoadCursor(nullptr, IDC_NO));
  }
  ImageList_DragShowNolock(TRUE);
}

void TreeControl::onButtonUp() {
  _dragging = false;
  ImageList_DragLeave(nullptr);
  ImageList_EndDrag();
  ReleaseCapture();
  ImageList_Destroy(_dragImage);
  _dragImage = nullptr;
  TreeView_SelectDropTarget(_tree, nullptr);
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  _dragHandler->drop(_dragged, _dropTarget);
}

LRESULT CALLBACK TreeControl::subclassProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam, UINT_PTR, DWORD_PTR self) {
  auto* tree = reinterpret_cast<TreeControl*>(self);
  if (message == WM_MOUSEMOVE && tree->_dragging) {
    try {
      tree->onMouseMove();
    } catch (...) {
      STELMAR_ASSERT(false);
    }
  }
  if (message == WM_LBUTTONUP) {
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    if (tree->_dragging) {
      try {
        tree->onButtonUp();
      } catch (...) {
        STELMAR_ASSERT(false);
      }
    }
    return result;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace products::stelmar::ui
