// The main dialog: every startup location as a tree, entries as leaves with a checkbox,
// and the commands of the context menu, the Delete key and drag and drop. It keeps copies
// of the entries it shows and changes nothing itself: every change goes through the
// startup interface.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "startup/Mapper.h"
#include "startup/StartupInterface.h"
#include "startup/StartupItem.h"
#include "startup/ui/MessageBoxHandler.h"
#include "startup/ui/StelmarModel.h"
#include "startup/ui/TreeControl.h"

namespace products::stelmar::ui {

class StelmarDlg : public DragHandler {
 public:
  // Neither is owned; both outlive the dialog. `instanceTag` names the window property by
  // which a second copy finds this one.
  StelmarDlg(MessageBoxHandler& errorHandler, StartupInterface& startup, bool isWindowsNT,
             std::string instanceTag, bool windows64 = false);
  ~StelmarDlg() override;
  StelmarDlg(const StelmarDlg&) = delete;
  StelmarDlg& operator=(const StelmarDlg&) = delete;

  // Shows the dialog and returns when it closes.
  void run();
  // Called once the dialog shows (the start-up's held reports are summed up then).
  void setShownHandler(std::function<void()> shown) { _shown = std::move(shown); }
  // The address of the online information (StelmarModel's onlineInfoAddress).
  void setOnlineInfoAddress(std::string address) { _onlineInfoAddress = std::move(address); }

  void refreshTree();
  void insertLeaves(const std::vector<StartupItem>& entries, HTREEITEM node);
  void setLeafState(HTREEITEM item, bool enabled);
  void changeEntryState(HTREEITEM item, bool enable);
  // False only when the user refused to overwrite an existing entry.
  bool addEntryToTree(const StartupItem& entry);
  void deleteEntryFromTree(HTREEITEM item);
  void showOnlineInfo(const StartupItem& entry);
  std::string commandFileName(const std::string& commandLine);

  bool canDrag(HTREEITEM item) override;
  bool canDrop(HTREEITEM item) override;
  void drop(HTREEITEM dragged, HTREEITEM target) override;

 private:
  enum class AddOutcome { Added, Refused, Failed };
  // The image of each file a fill has met (its icon, or the red cross): a file's icon is
  // read once however many entries start it.
  using IconCache = std::map<std::pair<bool, std::string>, int>;
  int iconOf(const StartupItem& entry, IconCache& icons);
  // An entry of the native view of 64-bit Windows is started by 64-bit Windows: its file,
  // icon and Run are judged as 64-bit Windows sees them.
  bool judgedNatively(int type) const;
  // The file an entry starts, where this program can reach it; nothing when not found.
  std::optional<std::string> findEntryFile(const StartupItem& entry) const;
  void insertLeaves(const std::vector<StartupItem>& entries, HTREEITEM node, IconCache& icons);
  AddOutcome addEntry(const StartupItem& entry);
  // Asks before an entry replaces another leaf than `replaced`; on Yes removes that leaf.
  // False when the user refused or the old entry could not be removed.
  bool makeRoomFor(const StartupItem& formatted, HTREEITEM replaced,
                   std::vector<StartupItem>* overwritten);
  bool removeLeaf(HTREEITEM item);
  // The copy of the entry shown by a leaf; throws when the item is none.
  StartupItem entryOf(HTREEITEM item) const;

  static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
  void initialise();
  // The tree's images and the banner at the dialog's DPI (again when the DPI changes).
  void createImages();
  LRESULT onNotify(const NMHDR& header);
  void onSelectionChanged(HTREEITEM item);
  void onClick();
  void onContextMenu();
  void runCommand(int command, HTREEITEM item);
  void onHelp();
  bool preTranslate(const MSG& message);
  bool isLeaf(HTREEITEM item) const { return item && leafMap.exists(item); }
  bool isTypeNode(HTREEITEM item) const { return item && typeNodeMap.secondExists(item); }

  void runEntry(const StartupItem& entry);
  void entryInformation(const StartupItem& entry);
  void locationInformation(HTREEITEM node);
  void addToLocation(HTREEITEM node);
  void editEntry(HTREEITEM item);
  void changeLoadOrder(HTREEITEM node);

  MessageBoxHandler& _errorHandler;
  StartupInterface& _interface;
  bool _isWindowsNT;
  bool _windows64;
  std::string _instanceTag;
  HWND _dialog = nullptr;
  bool _closed = false;
  TreeControl _tree;
  HIMAGELIST _normalImages = nullptr;
  HIMAGELIST _stateImages = nullptr;
  HICON _icon = nullptr;
  std::vector<HTREEITEM> _nodes;
  HTREEITEM _autostartNode = nullptr;
  Mapper<HTREEITEM, StartupItem, std::less<HTREEITEM>, StartupItemOrder> leafMap;
  Mapper<int, HTREEITEM> typeNodeMap;
  std::map<HTREEITEM, std::string> descriptionMap;
  std::map<HTREEITEM, std::string> errorMap;
  std::string _commandText;
  std::function<void()> _shown;
  std::string _onlineInfoAddress = ONLINE_INFO_DEFAULT;
};

}  // namespace products::stelmar::ui
