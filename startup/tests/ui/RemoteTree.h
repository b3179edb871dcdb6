// Reads and works the tree view of stelmar's main dialog from the test process: item texts,
// images and rectangles need a buffer in the dialog's process (VirtualAllocEx).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace uitests {

struct TreeNode {
  HTREEITEM item = nullptr;
  std::string text;
  int image = -1;
  int stateImage = 0;
  std::vector<TreeNode> children;
};

class RemoteTree {
 public:
  explicit RemoteTree(HWND tree);
  ~RemoteTree();
  RemoteTree(const RemoteTree&) = delete;
  RemoteTree& operator=(const RemoteTree&) = delete;

  std::vector<TreeNode> read() const;
  // The item at a path of captions from the root, or null; the nodes on the way are expanded.
  HTREEITEM find(const std::vector<std::string>& path) const;
  TreeNode node(HTREEITEM item) const;
  RECT itemRect(HTREEITEM item, bool labelOnly) const;
  void select(HTREEITEM item) const;
  // Real mouse input at a point of the tree's client area.
  void click(POINT client, bool right) const;
  void clickStateImage(HTREEITEM item) const;
  // Presses the left button on one item, moves to another and releases it there.
  void dragTo(HTREEITEM from, HTREEITEM to) const;
  HWND hwnd() const { return tree_; }

 private:
  HWND tree_;
  HANDLE process_ = nullptr;
  char* remote_ = nullptr;
};

// The children of a node as captions.
std::vector<std::string> Captions(const std::vector<TreeNode>& nodes);
const TreeNode* Child(const std::vector<TreeNode>& nodes, const std::string& caption);

}  // namespace uitests
