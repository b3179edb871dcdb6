// A tree view whose operations check their results (a failure throws TreeControlException
// with a fixed sentence and the system's error text) and whose drag and drop asks a
// DragHandler what may be dragged and where it may be dropped.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace products::stelmar::ui {

class DragHandler {
 public:
  virtual ~DragHandler() = default;
  virtual bool canDrag(HTREEITEM item) = 0;
  virtual bool canDrop(HTREEITEM item) = 0;
  // `target` is null when no item was accepted during the drag.
  virtual void drop(HTREEITEM dragged, HTREEITEM target) = 0;
};

class TreeControl {
 public:
  TreeControl() = default;
  ~TreeControl();
  TreeControl(const TreeControl&) = delete;
  TreeControl& operator=(const TreeControl&) = delete;

  // Keeps the tree from drawing while it lives; the tree is drawn again afterwards.
  class RedrawOff {
   public:
    explicit RedrawOff(TreeControl& tree);
    ~RedrawOff();
    RedrawOff(const RedrawOff&) = delete;
    RedrawOff& operator=(const RedrawOff&) = delete;

   private:
    HWND _tree;
  };

  // Takes over the window's mouse messages for dragging.
  void attach(HWND tree);
  HWND hwnd() const { return _tree; }
  void setDragHandler(DragHandler* dragHandler);

  HTREEITEM insertItem(const std::string& text, HTREEITEM parent, int image, int selectedImage,
                       bool withStateImage, int stateImage, HTREEITEM insertAfter);
  void deleteItem(HTREEITEM item);
  void deleteChildren(HTREEITEM item);
  void setStateImage(HTREEITEM item, int index);
  int getStateImage(HTREEITEM item) const;
  void setItemImage(HTREEITEM item, int image, int selectedImage);
  void expand(HTREEITEM item);
  HTREEITEM parent(HTREEITEM item);
  void setImageList(HIMAGELIST list, int which);

  // The owner forwards the tree's begin-drag notification.
  void beginDrag(HTREEITEM item, POINT dragPoint);
  bool dragging() const { return _dragging; }

 private:
  static LRESULT CALLBACK subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR self);
  void onMouseMove();
  void onButtonUp();

  HWND _tree = nullptr;
  DragHandler* _dragHandler = nullptr;
  bool _dragging = false;
  HIMAGELIST _dragImage = nullptr;
  HTREEITEM _dragged = nullptr;
  HTREEITEM _dropTarget = nullptr;
};

}  // namespace products::stelmar::ui
