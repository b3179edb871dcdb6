// stelmar as a user meets it: the real program in a temporary program folder, its main
// dialog found by class and title, its tree read and worked from this process, against the
// Run keys and the start-up folder of the test prefix (as this build's bitness sees them,
// which is the program's view too). Every value and shortcut a test makes is removed again.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "startup/tests/ui/RemoteTree.h"
#include "startup/tests/ui/TestBrowser.h"
#include "startup/ui/StelmarIds.h"
#include "startup/util/config/ConfigImpl.h"
#include "startup/util/config/ScrambledConfigFile.h"
#include "startup/windows/file/Shortcut.h"
#include "tests/harness/Harness.h"

namespace {

using namespace harness;
using namespace uitests;
constexpr DWORD kTimeoutMs = 20000;
const char* const kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kNotepad = "C:\\windows\\notepad.exe";

void SetRunValue(const std::string& name, DWORD type, const std::string& data) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kRun, 0, nullptr, 0, KEY_SET_VALUE,
                                           nullptr, &key, nullptr));
  RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>(data.size() + 1));
  RegCloseKey(key);
}

// Type and data of a value of the current user's Run key; type REG_NONE when missing.
std::pair<DWORD, std::string> RunValue(const std::string& name) {
  char data[2048] = {};
  DWORD type = REG_NONE, size = sizeof data - 1;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kRun, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return {REG_NONE, ""};
  const LONG status = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                       reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return {REG_NONE, ""};
  return {type, std::string(data)};
}

// A disabled entry's record in "stelmar.dat": type, state (1), name, 0, data, 0.
std::string Record(int type, const std::string& name, const std::string& data) {
  std::string record(8, '\0');
  record[0] = static_cast<char>(type);
  record[4] = 1;
  return record + name + '\0' + data + '\0';
}

// "stelmar.dat" holding these records: their count (32 bits, little-endian), then each.
std::string BackupBytes(const std::vector<std::string>& records) {
  std::string bytes(4, '\0');
  bytes[0] = static_cast<char>(records.size());
  for (const std::string& record : records) bytes += record;
  return bytes;
}

std::string StartupFolder() {
  char path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, path);
  return std::string(path) + "\\";
}

class StelmarDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    ASSERT_TRUE(CopyFromBuild("stelmar.exe", folder_.path()));
  }
  void TearDown() override {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRun, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      for (const std::string& name : values_) RegDeleteValueA(key, name.c_str());
      RegCloseKey(key);
    }
    for (const std::string& file : files_) DeleteFileA(file.c_str());
    for (const Placed& value : placed_) {
      if (RegOpenKeyExA(value.hive, value.key.c_str(), 0, KEY_SET_VALUE | value.view, &key) !=
          ERROR_SUCCESS)
        continue;
      RegDeleteValueA(key, value.name.c_str());
      RegCloseKey(key);
    }
    CoUninitialize();
  }
  // A value anywhere, in a registry view of its own, removed again at the end.
  struct Placed {
    HKEY hive;
    std::string key;
    REGSAM view;
    std::string name;
  };
  void Place(const Placed& value, DWORD type, const std::string& bytes) {
    placed_.push_back(value);
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(value.hive, value.key.c_str(), 0, nullptr, 0,
                                             KEY_SET_VALUE | value.view, nullptr, &key, nullptr));
    RegSetValueExA(key, value.name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
  }
  std::string Read(const Placed& value) const {
    char data[2048] = {};
    DWORD size = sizeof data;
    HKEY key = nullptr;
    if (RegOpenKeyExA(value.hive, value.key.c_str(), 0, KEY_QUERY_VALUE | value.view, &key) !=
        ERROR_SUCCESS)
      return "";
    const LONG status = RegQueryValueExA(key, value.name.c_str(), nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? std::string(data, size) : "";
  }
  void Value(const std::string& name, const std::string& data, DWORD type = REG_SZ) {
    values_.push_back(name);
    SetRunValue(name, type, data);
  }
  std::string Shortcut(const std::string& name, const std::string& target) {
    const std::string path = StartupFolder() + name;
    files_.push_back(path);
    windows::file::ShortcutWriter(path).write(target, "", "", "");
    return path;
  }
  std::string Program() const { return "\"" + folder_.path() + "stelmar.exe\""; }
  std::string Backup() const { return ReadTextFile(folder_ / "stelmar.dat"); }
  HWND Start(Process& process) {
    EXPECT_TRUE(process.started());
    HWND dialog = WaitForWindow("#32770", "Stelmar", process.id(), kTimeoutMs);
    // Leaves are in place once the dialog is shown.
    return dialog;
  }
  HWND WaitBox(const Process& process, const char* title) {
    return WaitForWindow("#32770", title, process.id(), kTimeoutMs);
  }
  std::string BoxText(HWND box) {
    for (const Control& c : Controls(box))
      if (c.className == "Static" && !c.text.empty()) return c.text;
    return "";
  }
  void Close(Process& process, HWND dialog) {
    ClickButton(dialog, "OK");
    EXPECT_TRUE(process.Wait(kTimeoutMs).ended);
  }
  std::vector<std::string> UserRun() const { return {"Registry", "Current User", "Run"}; }
  std::vector<std::string> UserRunLeaf(const std::string& name) const {
    std::vector<std::string> path = UserRun();
    path.push_back(name);
    return path;
  }

  TempFolder folder_;
  std::vector<std::string> values_;
  std::vector<std::string> files_;
  std::vector<Placed> placed_;
};

TEST_F(StelmarDialog, ShowsEveryLocationAndEntriesWithIconsAndTicks) {
  Value("VkFound", kNotepad);
  Value("VkMissing", "C:\\nowhere\\gone.exe /quiet");
  WriteTextFile(folder_ / "stelmar.dat", BackupBytes({Record(5, "VkKeptAside", "C:\\nowhere\\old.exe")}));
  Process stelmar(Program());
  HWND dialog = Start(stelmar);
  ASSERT_NE(nullptr, dialog);
  RemoteTree tree(GetDlgItem(dialog, IDC_TREE));
  const std::vector<TreeNode> nodes = tree.read();
  ASSERT_EQ(std::vector<std::string>({"Autostart", "Registry"}), Captions(nodes));
  EXPECT_EQ(std::vector<std::string>({"All users", "Current user"}), Captions(nodes[0].children));
  const TreeNode& registry = nodes[1];
  ASSERT_EQ(std::vector<std::string>({"All users", "Current User"}), Captions(registry.children));
  // The NT family has no Run Services keys; 64-bit Windows has the 32-bit view of two. The
  // tree sorts its nodes.
  EXPECT_EQ(std::vector<std::string>(
                {"Run", "Run (32-bit)", "Run Once", "Run Once (32-bit)", "Run Once Ex"}),
            Captions(registry.children[0].children));
  EXPECT_EQ(std::vector<std::string>({"Run", "Run Once"}), Captions(registry.children[1].children));
  for (const TreeNode* node : {&nodes[0], &registry, &registry.children[0]}) {
    EXPECT_EQ(0, node->image) << node->text;
    EXPECT_EQ(0, node->stateImage) << node->text;
  }
  const std::vector<TreeNode>& leaves = registry.children[1].children[0].children;
  const TreeNode* found = Child(leaves, "VkFound");
  const TreeNode* missing = Child(leaves, "VkMissing");
  const TreeNode* aside = Child(leaves, "VkKeptAside");
  ASSERT_TRUE(found && missing && aside);
  EXPECT_GE(found->image, 4);  // the file's own icon
  EXPECT_EQ(2, missing->image);
  EXPECT_EQ(1, found->stateImage);
  EXPECT_EQ(1, missing->stateImage);
  EXPECT_EQ(2, aside->stateImage);

  // The command text follows the selection; a node has none.
  tree.select(missing->item);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(GetDlgItem(dialog, IDC_COMMAND)) == "C:\\nowhere\\gone.exe /quiet"; }, kTimeoutMs));
  tree.select(registry.item);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(GetDlgItem(dialog, IDC_COMMAND)).empty(); }, kTimeoutMs));
  Close(stelmar, dialog);
}

TEST_F(StelmarDialog, ClickOnTheBoxDisablesIntoTheStoreAndEnablesAgain) {
  Value("VkToggle", kNotepad);
  Process stelmar(Program());
  HWND dialog = Start(stelmar);
  ASSERT_NE(nullptr, dialog);
  RemoteTree tree(GetDlgItem(dialog, IDC_TREE));
  HTREEITEM leaf = tree.find(UserRunLeaf("VkToggle"));
  ASSERT_NE(nullptr, leaf);

  // A click on the caption changes nothing.
  const RECT label = tree.itemRect(leaf, true);
  tree.click({label.left + 4, (label.top + label.bottom) / 2}, false);
  Sleep(GetDoubleClickTime() + 100);
  tree.clickStateImage(leaf);
  ASSERT_TRUE(WaitUntil([&] { return tree.node(leaf).stateImage == 2; }, kTimeoutMs));
  EXPECT_EQ(REG_NONE, RunValue("VkToggle").first);
  EXPECT_EQ(BackupBytes({Record(5, "VkToggle", kNotepad)}), Backup());

  // Far enough apart not to make a double click.
  Sleep(GetDoubleClickTime() + 100);
  tree.clickStateImage(leaf);
  ASSERT_TRUE(WaitUntil([&] { return tree.node(leaf).stateImage == 1; }, kTimeoutMs));
  EXPECT_EQ(std::make_pair(DWORD{REG_SZ}, std::string(kNotepad)), RunValue("VkToggle"));
  EXPECT_EQ(BackupBytes({}), Backup());
  Close(stelmar, dialog);
}

// A drive letter mapped to a folder for the test's lifetime ("subst"), made from the host.
class MappedDrive {
 public:
  MappedDrive(char letter, const std::string& folder) {
    // Drive C: is ".../dosdevices/c:/" to the host.
    const std::string drive = UnixPath("C:\\");
    const std::size_t at = drive.rfind("/c:/");
    if (at == std::string::npos) return;
    link_ = drive.substr(0, at + 1) + static_cast<char>(letter | 0x20) + ":";
    const std::string target = UnixPath(folder);
    made_ = !target.empty() && RunHostTool("ln -sfn '" + target + "' '" + link_ + "'");
  }
  ~MappedDrive() {
    if (made_) RunHostTool("rm -f '" + link_ + "'");
  }
  bool made() const { return made_; }

 private:
  std::string link_;
  bool made_ = false;
};

TEST_F(StelmarDialog, OneCopyRunsPerStoreWhateverThePath) {
  Process first(Program());
  Process second(Program());
  ASSERT_TRUE(first.started() && second.started());
  // One of the two ends by itself; the other shows the dialog.
  ProcessResult ended{};
  ASSERT_TRUE(WaitUntil([&] {
    return (ended = first.Wait(0)).ended || (ended = second.Wait(0)).ended;
  }, kTimeoutMs));
  EXPECT_EQ(0u, ended.exitCode);
  Process& running = first.Wait(0).ended ? second : first;
  HWND dialog = Start(running);
  ASSERT_NE(nullptr, dialog);

  // A later start ends too, through the same path or another drive letter for the folder,
  // and leaves the first one's window in front.
  const MappedDrive drive('S', folder_.path());
  ASSERT_TRUE(drive.made());
  for (const std::string& program : {Program(), std::string("\"S:\\stelmar.exe\"")}) {
    Process later(program);
    ASSERT_TRUE(later.started()) << program;
    EXPECT_TRUE(later.Wait(kTimeoutMs).ended) << program;
    EXPECT_EQ(dialog, GetForegroundWindow()) << program;
  }
  Close(running, dialog);
}

TEST_F(StelmarDialog, ChecksFailedAtStartAreSummedUpOnceTheWindowShows) {
  // A store whose count promises more records than it holds.
  std::string damaged = BackupBytes({Record(5, "VkDamaged", kNotepad)});
  damaged[0] = 3;
  WriteTextFile(folder_ / "stelmar.dat", damaged);
  values_.push_back("VkDamaged");
  Process stelmar(Program());
  HWND dialog = Start(stelmar);
  ASSERT_NE(nullptr, dialog);
  HWND box = WaitBox(stelmar, "Stelmar Error");
  ASSERT_NE(nullptr, box);
  EXPECT_EQ(dialog, GetWindow(box, GW_OWNER));
  EXPECT_NE(std::string::npos, BoxText(box).find(folder_ / "assertion.txt")) << BoxText(box);
  EXPECT_NE(std::string::npos, ReadTextFile(folder_ / "assertion.txt").find("is damaged"));
  ClickButton(box, "OK");
  ASSERT_TRUE(WaitWindowGone(box, kTimeoutMs));
  Close(stelmar, dialog);
}

TEST_F(StelmarDialog, DeleteKeyAsksAndDeletesOnlyOnYes) {
  Value("VkDoomed", kNotepad);
  Process stelmar(Program());
  HWND dialog = Start(stelmar);
  ASSERT_NE(nullptr, dialog);
  RemoteTree tree(GetDlgItem(dialog, IDC_TREE));
  HTREEITEM leaf = tree.find(UserRunLeaf("VkDoomed"));
  ASSERT_NE(nullptr, leaf);
  tree.select(leaf);
  for (const char* answer : {"&No", "&Yes"}) {
    PressKey(tree.hwnd(), VK_DELETE);
    HWND box = WaitBox(stelmar, "Question");
    ASSERT_NE(nullptr, box);
    EXPECT_EQ("Are you sure you want to delete this key?", BoxText(box));
    ClickButton(box, answer);
    ASSERT_TRUE(WaitWindowGone(box, kTimeoutMs));
  }
  EXPECT_TRUE(WaitUntil([&] { return tree.find(UserRunLeaf("VkDoomed")) == nullptr; }, kTimeoutMs));
  EXPECT_EQ(REG_NONE, RunValue("VkDoomed").first);
  // On a node the key asks nothing.
  tree.select(tree.find(UserRun()));
  PressKey(tree.hwnd(), VK_DELETE);
  EXPECT_EQ(nullptr, WaitForWindow("#32770", "Question", stelmar.id(), 1000));
  Close(stelmar, dialog);
}

TEST_F(StelmarDialog, EachViewOfTheMachinesRunKeyHasItsOwnNode) {
  Place({HKEY_LOCAL_MACHINE, kRun, KEY_WOW64_64KEY, "VkNative"}, REG_SZ, kNotepad);
  Place({HKEY_LOCAL_MACHINE, kRun, KEY_WOW64_32KEY, "VkView32"}, REG_SZ, kNotepad);
  Process stelmar(Program());
  HWND dialog = Start(stelmar);
  ASSERT_NE(nullptr, dialog);
  RemoteTree tree(GetDlgItem(dialog, IDC_TREE));
  for (auto [node, own, other] : {std::make_tuple("Run", "VkNative", "VkView32"),
                                  std::make_tuple("Run (32-bit)", "VkView32", "VkNative")}) {
    EXPECT_NE(nullptr, tree.find({"Registry", "All users", node, own})) << node;
    EXPECT_EQ(nullptr, tree.find({"Registry", "All users", node, other})) << node;
  }
  Close(stelmar, dialog);
}

TEST_F(StelmarDialog, AnEntryWindowsSwitchedOffIsUntickedAndTickingSwitchesItOn) {
  const Placed flag{HKEY_CURRENT_USER,
                    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run",
                    0, "VkWindowsOff"};
  Value("VkWindowsOff", kNotepad);
  Place(flag, REG_BINARY, std::string("\x03\0\0\0\x10\x20\x30\x40\x50\x60\x70\x01", 12));
  Process stelmar(Program());
  HWND dialog = Start(stelmar);
  ASSERT_NE(nullptr, dialog);
  RemoteTree tree(GetDlgItem(dialog, IDC_TREE));
  HTREEITEM leaf = tree.find(UserRunLeaf("VkWindowsOff"));
  ASSERT_NE(nullptr, leaf);
  EXPECT_EQ(2, tree.node(leaf).stateImage);
  // As a user does: the window in front first, then the click on the box.
  const RECT label = tree.itemRect(leaf, true);
  tree.click({label.left + 4, (label.top + label.bottom) / 2}, false);
  Sleep(GetDoubleClickTime() + 100);
  tree.clickStateImage(leaf);
  ASSERT_TRUE(WaitUntil([&] { return tree.node(leaf).stateImage == 1; }, kTimeoutMs));
  EXPECT_EQ("\x02" + std::string(11, '\0'), Read(flag));
  EXPECT_EQ(std::make_pair(DWORD{REG_SZ}, std::string(kNotepad)), RunValue("VkWindowsOff"));
  EXPECT_FALSE(FileExists(folder_ / "stelmar.dat"));
  Close(stelmar, dialog);
}

// Keys typed into the window in front (an open menu), as a user types them.
void TypeKeys(std::initializer_list<WORD> keys) {
  for (WORD key : keys) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof input[0]);
    Sleep(50);
  }
}

TEST_F(StelmarDialog, TheLoadOrderOfThe32BitViewRewritesOnlyThatView) {
  const std::string expandable("%SystemRoot%\\vk.exe\0", 20);
  const Placed view32{HKEY_LOCAL_MACHINE, kRun, KEY_WOW64_32KEY, "VkOrder32"};
  const Placed native{HKEY_LOCAL_MACHINE, kRun, KEY_WOW64_64KEY, "VkOrderNative"};
  const Placed kept32{HKEY_LOCAL_MACHINE, kRun, KEY_WOW64_32KEY, "VkKept32"};
  const Placed keptNative{HKEY_LOCAL_MACHINE, kRun, KEY_WOW64_64KEY, "VkKept32"};
  Place(view32, REG_EXPAND_SZ, expandable);
  Place(native, REG_SZ, kNotepad);
  placed_.push_back(kept32);
  WriteTextFile(folder_ / "stelmar.dat", BackupBytes({Record(11, "VkKept32", kNotepad)}));
  Process stelmar(Program());
  HWND dialog = Start(stelmar);
  ASSERT_NE(nullptr, dialog);
  RemoteTree tree(GetDlgItem(dialog, IDC_TREE));
  HTREEITEM node = tree.find({"Registry", "All users", "Run (32-bit)"});
  ASSERT_NE(nullptr, node);
  HTREEITEM kept = tree.find({"Registry", "All users", "Run (32-bit)", "VkKept32"});
  ASSERT_NE(nullptr, kept);
  EXPECT_EQ(2, tree.node(kept).stateImage);

  const RECT label = tree.itemRect(node, true);
  tree.click({label.left + 4, (label.top + label.bottom) / 2}, true);
  ASSERT_NE(nullptr, WaitForWindow("#32768", nullptr, stelmar.id(), kTimeoutMs));
  TypeKeys({VK_DOWN, VK_DOWN, VK_RETURN});  // "Change load order"
  HWND order = WaitBox(stelmar, "Load order");
  ASSERT_NE(nullptr, order);
  ClickButton(order, "OK");
  ASSERT_TRUE(WaitWindowGone(order, kTimeoutMs));
  // The kept entry came back live in its own view only; the rest kept its type and bytes.
  EXPECT_TRUE(WaitUntil([&] { return Read(kept32).c_str() == std::string(kNotepad); }, kTimeoutMs));
  EXPECT_EQ("", Read(keptNative));
  EXPECT_EQ(expandable, Read(view32));
  EXPECT_EQ(kNotepad, std::string(Read(native).c_str()));
  EXPECT_TRUE(WaitUntil([&] {
    HTREEITEM live = tree.find({"Registry", "All users", "Run (32-bit)", "VkKept32"});
    return live && tree.node(live).stateImage == 1;
  }, kTimeoutMs));
  Close(stelmar, dialog);
}

}  // namespace

namespace {

class StelmarCommands : public StelmarDialog {
 protected:
  // Starts the program once the test has made its entries.
  bool Open() {
    process_ = std::make_unique<Process>(Program());
    dialog_ = Start(*process_);
    if (dialog_) tree_ = std::make_unique<RemoteTree>(GetDlgItem(dialog_, IDC_TREE));
    return dialog_ != nullptr;
  }
  void TearDown() override {
    if (dialog_) Close(*process_, dialog_);
    StelmarDialog::TearDown();
  }
  // Right-clicks an item's caption and picks a command of its menu.
  bool Command(const std::vector<std::string>& path, int index) {
    HTREEITEM item = tree_->find(path);
    if (!item) return false;
    const RECT label = tree_->itemRect(item, true);
    tree_->click({label.left + 4, (label.top + label.bottom) / 2}, true);
    return ChooseFromMenu(process_->id(), index);
  }
  // Fills the entry dialog and presses OK.
  HWND FillEntry(const std::string& name, const std::string& path) {
    HWND box = WaitBox(*process_, "Startup entry");
    if (!box) return nullptr;
    SetWindowTextA(GetDlgItem(box, IDC_NAME), name.c_str());
    SetWindowTextA(GetDlgItem(box, IDC_PATH), path.c_str());
    ClickButton(box, "OK");
    return box;
  }
  // Answers the message box with this title and returns its text.
  std::string Answer(const char* title, const char* button) {
    HWND box = WaitBox(*process_, title);
    if (!box) return "(no box)";
    const std::string text = BoxText(box);
    ClickButton(box, button);
    WaitWindowGone(box, kTimeoutMs);
    return text;
  }

  std::unique_ptr<Process> process_;
  HWND dialog_ = nullptr;
  std::unique_ptr<RemoteTree> tree_;
};

TEST_F(StelmarCommands, AddChecksTheFileAndAsksBeforeOverwriting) {
  Value("VkTwin", kNotepad);
  ASSERT_TRUE(Open());
  ASSERT_TRUE(Command(UserRun(), 0));  // "&Add startup entry"
  HWND box = FillEntry("VkTwin", "C:\\nowhere\\missing.exe");
  ASSERT_NE(nullptr, box);
  EXPECT_EQ("The startup entry you are trying to add doesn't point on a valid file.",
            Answer("Stelmar Error", "OK"));
  const std::string regedit = "\"C:\\windows\\regedit.exe\" /s";
  for (const char* answer : {"&No", "&Yes"}) {
    if (std::string(answer) == "&Yes") {
      ASSERT_TRUE(Command(UserRun(), 0));
      box = WaitBox(*process_, "Startup entry");
    }
    SetWindowTextA(GetDlgItem(box, IDC_NAME), "VkTwin");
    SetWindowTextA(GetDlgItem(box, IDC_PATH), regedit.c_str());
    ClickButton(box, "OK");
    EXPECT_EQ("A startup entry with the name VkTwin already exists.\nWould you like to overwrite it?",
              Answer("Startup entry alread exists", answer));
    ASSERT_TRUE(WaitWindowGone(box, kTimeoutMs));
    // The dialog goes on after the question is answered: wait for what it writes.
    const std::string expected = std::string(answer) == "&No" ? kNotepad : regedit;
    EXPECT_TRUE(WaitUntil([&] { return RunValue("VkTwin").second == expected; }, kTimeoutMs))
        << RunValue("VkTwin").second;
  }
  // One leaf of that name, once the old leaf has made room for the new one.
  std::vector<std::string> captions;
  EXPECT_TRUE(WaitUntil([&] {
    const std::vector<TreeNode> tree = tree_->read();  // the nodes below point into it
    const TreeNode* run = Child(Child(Child(tree, "Registry")->children, "Current User")->children, "Run");
    captions = run ? Captions(run->children) : std::vector<std::string>();
    return std::count(captions.begin(), captions.end(), "VkTwin") == 1;
  }, kTimeoutMs)) << captions.size() << " leaves under Run";
}

TEST_F(StelmarCommands, EditRefusedOrFailedKeepsTheOldEntry) {
  Value("VkEditA", kNotepad);
  Value("VkEditB", "C:\\windows\\regedit.exe");
  ASSERT_TRUE(Open());
  ASSERT_TRUE(Command(UserRunLeaf("VkEditA"), 0));  // "&Edit"
  ASSERT_NE(nullptr, FillEntry("VkEditB", "C:\\windows\\notepad.exe /new"));
  EXPECT_EQ(0u, Answer("Startup entry alread exists", "&No").find("A startup entry with the name VkEditB"));
  EXPECT_TRUE(WaitUntil([&] { return tree_->find(UserRunLeaf("VkEditA")) != nullptr; }, kTimeoutMs));
  EXPECT_EQ(kNotepad, RunValue("VkEditA").second);
  EXPECT_EQ("C:\\windows\\regedit.exe", RunValue("VkEditB").second);

  // A shortcut that cannot be written under its new name: the old one comes back.
  const std::string old = Shortcut("VkEdit.lnk", kNotepad);
  ClickButton(dialog_, "&Refresh");
  const std::vector<std::string> leaf = {"Autostart", "Current user", "VkEdit.lnk"};
  ASSERT_TRUE(WaitUntil([&] { return tree_->find(leaf) != nullptr; }, kTimeoutMs));
  ASSERT_TRUE(Command(leaf, 0));
  ASSERT_NE(nullptr, FillEntry("Vk|Bad", kNotepad));
  EXPECT_NE("(no box)", Answer("Stelmar Error", "OK"));
  EXPECT_TRUE(WaitUntil([&] { return FileExists(old) && tree_->find(leaf) != nullptr; }, kTimeoutMs));
}

TEST_F(StelmarCommands, DragMovesAShortcutIntoARunKeyEnabled) {
  const std::string link = Shortcut("VkMove.lnk", kNotepad);
  values_.push_back("VkMove.lnk");
  const std::string plain = StartupFolder() + "VkPlain.txt";
  files_.push_back(plain);
  WriteTextFile(plain, "text");
  ASSERT_TRUE(Open());
  const std::vector<std::string> from = {"Autostart", "Current user", "VkMove.lnk"};
  ASSERT_TRUE(WaitUntil([&] { return tree_->find(from) != nullptr; }, kTimeoutMs));
  tree_->find(UserRun());
  tree_->dragTo(tree_->find(from), tree_->find(UserRun()));
  ASSERT_TRUE(WaitUntil([&] { return tree_->find(UserRunLeaf("VkMove.lnk")) != nullptr; }, kTimeoutMs));
  EXPECT_EQ(1, tree_->node(tree_->find(UserRunLeaf("VkMove.lnk"))).stateImage);
  EXPECT_EQ(REG_SZ, RunValue("VkMove.lnk").first);
  EXPECT_FALSE(FileExists(link));
  EXPECT_EQ(nullptr, tree_->find(from));

  // The file that is no shortcut stays where it is.
  EXPECT_TRUE(FileExists(plain));
}

TEST_F(StelmarCommands, LoadOrderMovesRowsAndOkRewritesTheLocation) {
  Value("VkOrder1", "C:\\windows\\regedit.exe");
  Value("VkOrder2", kNotepad);
  values_.push_back("VkOrderKept");
  WriteTextFile(folder_ / "stelmar.dat", BackupBytes({Record(5, "VkOrderKept", kNotepad)}));
  ASSERT_TRUE(Open());
  ASSERT_TRUE(WaitUntil([&] { return tree_->find(UserRunLeaf("VkOrder2")) != nullptr; }, kTimeoutMs));
  ASSERT_TRUE(Command(UserRun(), 1));  // "&Change load order"
  HWND box = WaitBox(*process_, "Load order");
  ASSERT_NE(nullptr, box);
  HWND list = GetDlgItem(box, IDC_ORDER_LIST);
  HWND up = GetDlgItem(box, IDC_MOVE_UP), down = GetDlgItem(box, IDC_MOVE_DOWN);
  EXPECT_FALSE(IsWindowEnabled(up) || IsWindowEnabled(down));
  const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  int row = -1, kept = -1;
  for (int i = 0; i < rows; ++i) {
    if (tree_->listText(list, i, 1) == "VkOrder2") row = i;
    if (tree_->listText(list, i, 1) == "VkOrderKept (disabled)") kept = i;
  }
  ASSERT_GT(row, 0);
  EXPECT_GE(kept, 0);
  // The columns fit: no scrolling sideways.
  EXPECT_FALSE(GetWindowLongA(list, GWL_STYLE) & WS_HSCROLL);
  const std::string above = tree_->listText(list, row - 1, 1);
  const RECT rect = tree_->listRowRect(list, row);
  POINT point{rect.left + 20, (rect.top + rect.bottom) / 2};
  ClientToScreen(list, &point);
  SetCursorPos(point.x, point.y);
  INPUT click[2] = {};
  click[0].type = click[1].type = INPUT_MOUSE;
  click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, click, sizeof click[0]);
  // The two buttons change one after the other.
  ASSERT_TRUE(WaitUntil([&] {
    return IsWindowEnabled(up) && (IsWindowEnabled(down) != FALSE) == (row + 1 != rows);
  }, kTimeoutMs));
  ClickButton(box, "Move &up");
  ASSERT_TRUE(WaitUntil([&] { return tree_->listText(list, row - 1, 1) == "VkOrder2"; }, kTimeoutMs));
  EXPECT_EQ(above, tree_->listText(list, row, 1));
  EXPECT_EQ(std::to_string(row), tree_->listText(list, row - 1, 0));
  ClickButton(box, "OK");
  ASSERT_TRUE(WaitWindowGone(box, kTimeoutMs));
  EXPECT_TRUE(WaitUntil([&] { return tree_->find(UserRunLeaf("VkOrder2")) != nullptr; }, kTimeoutMs));
  EXPECT_EQ(std::make_pair(DWORD{REG_SZ}, std::string("C:\\windows\\regedit.exe")), RunValue("VkOrder1"));
  EXPECT_EQ(std::make_pair(DWORD{REG_SZ}, std::string(kNotepad)), RunValue("VkOrder2"));
}

TEST_F(StelmarCommands, AMoveWhoseAddFailsKeepsTheSource) {
  // A value's name that no shortcut file can carry.
  Value("Vk|Moved", kNotepad);
  ASSERT_TRUE(Open());
  tree_->dragTo(tree_->find(UserRunLeaf("Vk|Moved")), tree_->find({"Autostart", "Current user"}));
  // Reported once: the tree read again after the failure is not an error of its own.
  EXPECT_NE(std::string::npos,
            Answer("Stelmar Error", "OK").find("An exception occured when trying to save"));
  EXPECT_EQ(std::make_pair(DWORD{REG_SZ}, std::string(kNotepad)), RunValue("Vk|Moved"));
  EXPECT_TRUE(WaitUntil([&] { return tree_->find(UserRunLeaf("Vk|Moved")) != nullptr; }, kTimeoutMs));
  EXPECT_EQ(nullptr, tree_->find({"Autostart", "Current user", "Vk|Moved.lnk"}));
}

TEST_F(StelmarCommands, OnlyShortcutsLeaveAnAutostartFolder) {
  const std::string plain = StartupFolder() + "VkTool.bat";
  files_.push_back(plain);
  WriteTextFile(plain, "@echo off\r\n");
  ASSERT_TRUE(Open());
  const std::vector<std::string> from = {"Autostart", "Current user", "VkTool.bat"};
  ASSERT_TRUE(WaitUntil([&] { return tree_->find(from) != nullptr; }, kTimeoutMs));
  tree_->dragTo(tree_->find(from), tree_->find(UserRun()));
  EXPECT_EQ("You are only allowed to move shortcuts (.lnk) files from the autostart folders.",
            Answer("Stelmar Information", "OK"));
  EXPECT_TRUE(FileExists(plain));
  EXPECT_EQ(REG_NONE, RunValue("VkTool.bat").first);
  EXPECT_NE(nullptr, tree_->find(from));
}

TEST_F(StelmarCommands, InformationOnEntriesAndLocations) {
  Value("VkInfoFound", kNotepad);
  Value("VkInfoGone", "C:\\nowhere\\gone.exe /quiet");
  ASSERT_TRUE(Open());
  const std::string intro = "This command line will be executed when the computer is started:\n";
  ASSERT_TRUE(Command(UserRunLeaf("VkInfoFound"), 4));  // "&Info"
  EXPECT_EQ(intro + kNotepad + "\n\nStatus: This startup entry points on a valid file.",
            Answer("Stelmar Information", "OK"));
  ASSERT_TRUE(Command(UserRunLeaf("VkInfoGone"), 4));
  EXPECT_EQ(intro + "C:\\nowhere\\gone.exe /quiet\n\nStatus: \nStelmar can't find the file pointed "
                    "out by this startup entry.\nThe reason for this may be that a program that "
                    "created it has been\nuninstalled but left this entry behind. Perhaps due to "
                    "an incomplete\nuninstall process.",
            Answer("Stelmar Information", "OK"));
  ASSERT_TRUE(Command(UserRun(), 2));  // "&Info"
  EXPECT_EQ("General Information:\nEach time the system boots, it executes all commands stored "
            "under this key. You might find command lines for applications that are started "
            "every time the computer reboots. Examples of programs are Anti-Virus programs, "
            "Volume Control and ICQ.",
            Answer("Stelmar Information", "OK"));
}

TEST_F(StelmarCommands, OnlineInformationOpensTheConfiguredAddressWithTheNamesEncoded) {
  TestBrowser browser;
  ASSERT_TRUE(browser.ready());
  util::config::ScrambledConfigFile().save(
      folder_ / "stelmar.cfg", "util.newsletter.SimpleSignUp.askForEmailAddress=false\n"
                               "products.stelmar.OnlineInfo.address=http://find.example/?f={file}"
                               "&e={name}\n");
  Value("Vk Web&Co", "\"C:\\windows\\notepad.exe\" /x");
  ASSERT_TRUE(Open());
  ASSERT_TRUE(Command(UserRunLeaf("Vk Web&Co"), 5));  // "&Online Info"
  EXPECT_EQ("http://find.example/?f=notepad.exe&e=Vk%20Web%26Co", browser.waitForAddress());
}

TEST_F(StelmarCommands, DialogsOpenOverTheWindowThatOwnsThem) {
  ASSERT_TRUE(Open());
  // Away from the middle of the screen, where a dialog of its own would be.
  SetWindowPos(dialog_, nullptr, 120, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  const auto expectOver = [](HWND window, HWND owner) {
    EXPECT_EQ(owner, GetWindow(window, GW_OWNER));
    const POINT a = CentreOf(window), b = CentreOf(owner);
    EXPECT_LE(std::abs(a.x - b.x), 2);
    EXPECT_LE(std::abs(a.y - b.y), 2);
  };
  ASSERT_TRUE(Command(UserRun(), 0));  // "&Add startup entry"
  HWND entry = WaitBox(*process_, "Startup entry");
  ASSERT_NE(nullptr, entry);
  expectOver(entry, dialog_);
  ClickButton(entry, "&Browse...");
  HWND browse = WaitBox(*process_, "Open");
  ASSERT_NE(nullptr, browse);
  // Placed once it is ready.
  EXPECT_TRUE(WaitUntil([&] { return std::abs(CentreOf(browse).x - CentreOf(entry).x) <= 2; }, kTimeoutMs));
  expectOver(browse, entry);
  ClickButton(browse, "Cancel");
  ASSERT_TRUE(WaitWindowGone(browse, kTimeoutMs));
  ClickButton(entry, "Cancel");
  ASSERT_TRUE(WaitWindowGone(entry, kTimeoutMs));
}

TEST_F(StelmarCommands, EntriesOfTheNativeViewAreJudgedAs64BitWindowsSeesThem) {
  // Programs only 64-bit Windows finds: in its system folder, and under its Program Files.
  const std::string only64 = "C:\\windows\\Sysnative\\vkonly64.exe";
  const std::string nativeFolder = "C:\\Program Files\\VkNative";
  ASSERT_TRUE(CopyFileA("C:\\windows\\Sysnative\\notepad.exe", only64.c_str(), FALSE));
  files_.push_back(only64);
  CreateDirectoryA(nativeFolder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA(only64.c_str(), (nativeFolder + "\\vktool.exe").c_str(), FALSE));
  files_.push_back(nativeFolder + "\\vktool.exe");
#define VK_TOOL "%ProgramFiles%\\VkNative\\vktool.exe"
  const std::string expandable(VK_TOOL, sizeof VK_TOOL);  // with its terminating zero
  const Placed tool{HKEY_LOCAL_MACHINE, kRun, KEY_WOW64_64KEY, "VkNativeTool"};
  Place({HKEY_LOCAL_MACHINE, kRun, KEY_WOW64_64KEY, "VkOnly64"}, REG_SZ,
        "C:\\Windows\\System32\\vkonly64.exe /x");
  Place(tool, REG_EXPAND_SZ, expandable);
  ASSERT_TRUE(Open());
  const std::string valid = "\n\nStatus: This startup entry points on a valid file.";
  struct Row { const char* name; const char* command; };
  const Row rows[] = {{"VkOnly64", "C:\\Windows\\System32\\vkonly64.exe /x"},
                      {"VkNativeTool", "C:\\Program Files\\VkNative\\vktool.exe"}};
  for (const Row& row : rows) {
    const std::vector<std::string> leaf = {"Registry", "All users", "Run", row.name};
    ASSERT_NE(nullptr, tree_->find(leaf)) << row.name;
    EXPECT_GE(tree_->node(tree_->find(leaf)).image, 4) << row.name;  // its icon, no red cross
    ASSERT_TRUE(Command(leaf, 4));  // "&Info"
    const std::string info = Answer("Stelmar Information", "OK");
    EXPECT_NE(std::string::npos, info.find(row.command + valid)) << info;
  }
  // An edit that changes nothing keeps the value's bytes (unexpanded), and so does a move.
  ASSERT_TRUE(Command({"Registry", "All users", "Run", "VkNativeTool"}, 0));  // "&Edit"
  ASSERT_NE(nullptr, FillEntry("VkNativeTool", "C:\\Program Files\\VkNative\\vktool.exe"));
  EXPECT_TRUE(WaitUntil([&] { return Read(tool) == expandable; }, kTimeoutMs));
  values_.push_back("VkNativeTool");
  HTREEITEM edited = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    return (edited = tree_->find({"Registry", "All users", "Run", "VkNativeTool"})) != nullptr;
  }, kTimeoutMs));
  tree_->dragTo(edited, tree_->find(UserRun()));
  EXPECT_TRUE(WaitUntil([&] { return RunValue("VkNativeTool").first == REG_EXPAND_SZ; }, kTimeoutMs));
  EXPECT_EQ(expandable, Read({HKEY_CURRENT_USER, kRun, 0, "VkNativeTool"}));
  DeleteFileA((nativeFolder + "\\vktool.exe").c_str());
  RemoveDirectoryA(nativeFolder.c_str());
}

}  // namespace

namespace {

using util::config::ConfigImpl;

TEST_F(StelmarDialog, TheSignUpPromptComesAtItsFrequencyAcrossStarts) {
  util::config::ScrambledConfigFile file;
  const std::string path = folder_ / "stelmar.cfg";
  file.save(path, "util.newsletter.SimpleSignUp.askForEmailAddress=true\n"
                  "util.newsletter.SimpleSignUp.signUpUrl=http://news.example/join?mail=\n"
                  "util.newsletter.SimpleSignUp.askFrequency=2\n"
                  "util.newsletter.SimpleSignUp.counter=1\n");
  // The prompt comes before the main dialog, which shows only once it is answered.
  for (const bool prompted : {false, true}) {
    Process stelmar(Program());
    ASSERT_TRUE(stelmar.started());
    if (prompted) {
      HWND prompt = WaitForWindow("#32770", "Newsletter", stelmar.id(), kTimeoutMs);
      ASSERT_NE(nullptr, prompt);
      ClickButton(prompt, "Skip");
    }
    HWND dialog = Start(stelmar);
    ASSERT_NE(nullptr, dialog);
    Close(stelmar, dialog);
    EXPECT_EQ(prompted ? 2 : 0, ConfigImpl(path, ConfigImpl::FROM_FILE, file, file)
                                    .getInteger("util.newsletter.SimpleSignUp.counter"));
  }
}

}  // namespace
