#include "startup/tests/ui/RemoteTree.h"

#include <cstring>
#include <functional>

namespace uitests {

namespace {

constexpr SIZE_T REMOTE_SIZE = 4096;
constexpr SIZE_T TEXT_OFFSET = 1024;

void sendMouse(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
  Sleep(30);
}

void moveCursor(HWND window, POINT client) {
  ClientToScreen(window, &client);
  SetCursorPos(client.x, client.y);
  sendMouse(MOUSEEVENTF_MOVE);
}

}  // namespace

RemoteTree::RemoteTree(HWND tree) : tree_(tree) {
  DWORD processId = 0;
  GetWindowThreadProcessId(tree, &processId);
  process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (process_)
    remote_ = static_cast<char*>(
        VirtualAllocEx(process_, nullptr, REMOTE_SIZE, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
}

RemoteTree::~RemoteTree() {
  if (remote_) VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
  if (process_) CloseHandle(process_);
}

TreeNode RemoteTree::node(HTREEITEM item) const {
  TreeNode node;
  node.item = item;
  TVITEMA query{};
  query.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_STATE | TVIF_HANDLE;
  query.hItem = item;
  query.stateMask = TVIS_STATEIMAGEMASK;
  query.pszText = remote_ + TEXT_OFFSET;
  query.cchTextMax = 1024;
  WriteProcessMemory(process_, remote_, &query, sizeof query, nullptr);
  SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote_));
  char text[1025] = {};
  ReadProcessMemory(process_, remote_, &query, sizeof query, nullptr);
  ReadProcessMemory(process_, remote_ + TEXT_OFFSET, text, 1024, nullptr);
  node.text = text;
  node.image = query.iImage;
  node.stateImage = static_cast<int>((query.state & TVIS_STATEIMAGEMASK) >> 12);
  return node;
}

std::vector<TreeNode> RemoteTree::read() const {
  std::vector<TreeNode> nodes;
  std::function<void(HTREEITEM, std::vector<TreeNode>&)> fill = [&](HTREEITEM parent,
                                                                   std::vector<TreeNode>& into) {
    HTREEITEM child = parent == TVI_ROOT ? TreeView_GetRoot(tree_) : TreeView_GetChild(tree_, parent);
    for (; child; child = TreeView_GetNextSibling(tree_, child)) {
      into.push_back(node(child));
      fill(child, into.back().children);
    }
  };
  fill(TVI_ROOT, nodes);
  return nodes;
}

HTREEITEM RemoteTree::find(const std::vector<std::string>& path) const {
  HTREEITEM parent = TVI_ROOT;
  for (const std::string& caption : path) {
    HTREEITEM child = parent == TVI_ROOT ? TreeView_GetRoot(tree_) : TreeView_GetChild(tree_, parent);
    while (child && node(child).text != caption) child = TreeView_GetNextSibling(tree_, child);
    if (!child) return nullptr;
    // Whatever the test looks for next must be visible.
    if (parent != TVI_ROOT) TreeView_Expand(tree_, parent, TVE_EXPAND);
    parent = child;
  }
  return parent;
}

RECT RemoteTree::itemRect(HTREEITEM item, bool labelOnly) const {
  // TVM_GETITEMRECT takes the item handle in the rectangle's place.
  RECT rect{};
  std::memcpy(&rect, &item, sizeof item);
  WriteProcessMemory(process_, remote_, &rect, sizeof rect, nullptr);
  SendMessageA(tree_, TVM_GETITEMRECT, labelOnly, reinterpret_cast<LPARAM>(remote_));
  ReadProcessMemory(process_, remote_, &rect, sizeof rect, nullptr);
  return rect;
}

void RemoteTree::select(HTREEITEM item) const { TreeView_SelectItem(tree_, item); }

void RemoteTree::click(POINT client, bool right) const {
  moveCursor(tree_, client);
  sendMouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
  sendMouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
}

void RemoteTree::clickStateImage(HTREEITEM item) const {
  // The state image stands left of the item's icon, which stands left of the label.
  const RECT label = itemRect(item, true);
  click({label.left - 16 - 8, (label.top + label.bottom) / 2}, false);
}

void RemoteTree::dragTo(HTREEITEM from, HTREEITEM to) const {
  const RECT start = itemRect(from, true);
  const RECT end = itemRect(to, true);
  moveCursor(tree_, {start.left + 4, (start.top + start.bottom) / 2});
  sendMouse(MOUSEEVENTF_LEFTDOWN);
  for (int step = 1; step <= 6; ++step) {
    const int y = (start.top + start.bottom) / 2 +
                  ((end.top + end.bottom) / 2 - (start.top + start.bottom) / 2) * step / 6;
    moveCursor(tree_, {start.left + 4 + step * 2, y});
  }
  moveCursor(tree_, {end.left + 4, (end.top + end.bottom) / 2});
  sendMouse(MOUSEEVENTF_LEFTUP);
}

std::vector<std::string> Captions(const std::vector<TreeNode>& nodes) {
  std::vector<std::string> captions;
  for (const TreeNode& node : nodes) captions.push_back(node.text);
  return captions;
}

const TreeNode* Child(const std::vector<TreeNode>& nodes, const std::string& caption) {
  for (const TreeNode& node : nodes)
    if (node.text == caption) return &node;
  return nullptr;
}

}  // namespace uitests
