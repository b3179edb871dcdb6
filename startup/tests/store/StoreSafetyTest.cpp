// No entry is lost or silently changed: a program killed at any write step, names that
// differ only in case, names the system code page cannot hold, shortcuts moved and edited,
// and deleted entries restored. Against the scratch registry and real folders.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <functional>

#include "startup/EntryMoves.h"
#include "startup/StartupInterface.h"
#include "startup/database/AutostartDatabase.h"
#include "startup/database/RecycleStore.h"
#include "startup/database/RegistryDatabase.h"
#include "startup/io/file/WriteSteps.h"
#include "startup/platform/errorresources/Exceptions.h"
#include "startup/tests/store/StoreFixtures.h"
#include "startup/windows/file/Shortcut.h"
#include "tests/harness/Harness.h"

namespace {

using products::stelmar::StartupInterface;
using products::stelmar::StartupItem;
using namespace products::stelmar::database;
using storetests::CU_RUN;
using storetests::DISABLED;
using storetests::ENABLED;
using storetests::GetValue;
using storetests::LM_RUN;
using storetests::RUN;

constexpr int CU_AUTO = products::stelmar::StartupConstants::CU_RUN_AUTOSTART;
constexpr int LM_AUTO = products::stelmar::StartupConstants::LM_RUN_AUTOSTART;
const char* const SHELL_FOLDERS =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Stops the program at the write step it is told, as a kill there would: that step and
// every later one never happen.
struct Killed {};
int stepsLeft = -1;
bool killed = false;
void stopAtStep(const char*) {
  if (killed || stepsLeft-- == 0) {
    killed = true;
    throw Killed();
  }
}

// Every store of a program started on the scratch registry and folder: two Run keys, two
// autostart folders, the disabled and the deleted entries' stores.
struct Stores {
  explicit Stores(const harness::TempFolder& folder)
      : backup(folder / "stelmar.dat"),
        recycle(folder / "stelmar.dat.deleted"),
        user(CU_RUN, backup, false, &recycle),
        machine(LM_RUN, backup, false, &recycle),
        userFolder(CU_AUTO, folder / "cuas", false, &recycle),
        allFolder(LM_AUTO, folder / "lmas", false, &recycle),
        startup(handler) {
    startup.addDatabase(user), startup.addDatabase(machine);
    startup.addDatabase(userFolder), startup.addDatabase(allFolder);
    startup.setRecycleStore(&recycle);
  }
  // The entry of that type and name as the listing shows it; how many it shows.
  std::size_t count(int type, const std::string& name, StartupItem* found = nullptr) {
    std::size_t n = 0;
    for (const StartupItem& item : startup.getEntries(type)) {
      if (item != StartupItem(type, ENABLED, name, "")) continue;
      ++n;
      if (found) *found = item;
    }
    return n;
  }
  storetests::RecordingErrorHandler handler;
  RegistryBackup backup;
  RecycleStore recycle;
  RegistryDatabase user, machine;
  AutostartDatabase userFolder, allFolder;
  StartupInterface startup;
};

class StoreSafety : public ::testing::Test {
 protected:
  StoreSafety() {
    for (auto [hive, value, sub] :
         {std::make_tuple(HKEY_CURRENT_USER, "Startup", "user\\"),
          std::make_tuple(HKEY_LOCAL_MACHINE, "Common Startup", "all\\")}) {
      ::CreateDirectoryA((folder / sub).c_str(), nullptr);
      storetests::SetText(hive, SHELL_FOLDERS, value, folder / sub);
    }
    storetests::SetText(HKEY_LOCAL_MACHINE, RUN, "Placeholder", "x");
  }
  // With a target, writes a shortcut with every field set; without, reads every field but
  // the target and arguments as one text.
  static std::string link(std::string path, const char* target = nullptr) {
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                       reinterpret_cast<void**>(&link));
    link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    const std::wstring wide(path.begin(), path.end());
    char dir[MAX_PATH] = "C:\\work", text[MAX_PATH] = "Kept whole", icon[MAX_PATH] = "";
    int iconIndex = 2, show = SW_SHOWMAXIMIZED;
    WORD key = MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_ALT);
    if (target) {
      link->SetPath(target);
      link->SetArguments("-a \"b c\"");
      link->SetWorkingDirectory(dir);
      link->SetDescription(text);
      link->SetIconLocation("C:\\windows\\regedit.exe", iconIndex);
      link->SetHotkey(key);
      link->SetShowCmd(show);
      EXPECT_TRUE(SUCCEEDED(file->Save(wide.c_str(), TRUE)));
    } else {
      dir[0] = text[0] = '\0';
      if (FAILED(file->Load(wide.c_str(), STGM_READ))) path.clear();  // read nothing
      link->GetWorkingDirectory(dir, MAX_PATH);
      link->GetDescription(text, MAX_PATH);
      link->GetIconLocation(icon, MAX_PATH, &iconIndex);
      link->GetHotkey(&key);
      link->GetShowCmd(&show);
    }
    file->Release();
    link->Release();
    if (path.empty()) return "unreadable";
    return std::string(dir) + "|" + text + "|" + icon + "," + std::to_string(iconIndex) + "|" +
           std::to_string(key) + "|" + std::to_string(show);
  }

  storetests::ScratchRegistry registry;
  harness::TempFolder folder;
};

TEST_F(StoreSafety, AKillAtAnyWriteStepLeavesTheEntryLiveOrKept) {
  const std::string notepad = "C:\\windows\\notepad.exe";
  struct Operation {
    const char* what;
    int type;  // where the entry is made, live
    bool disabledFirst;
    int newType;  // where it may be found afterwards too
    const char* newName;
    std::function<void(Stores&, StartupItem&)> run;
    int finalState;
  };
  auto disable = [](Stores& s, StartupItem& e) { s.startup.disableEntry(e); };
  auto enable = [](Stores& s, StartupItem& e) { s.startup.enableEntry(e); };
  auto edit = [](const char* name) {
    return [name](Stores& s, StartupItem& e) {
      StartupItem edited(e.getType(), e.getState(), name, e.getData() + " -x");
      edited = s.startup.formatEntry(edited);
      products::stelmar::editEntry(s.startup, e, edited);
    };
  };
  auto move = [](int to) {
    return [to](Stores& s, StartupItem& e) {
      StartupItem target(to, ENABLED, e.getName(), e.getData());
      products::stelmar::moveEntry(s.startup, e, target);
    };
  };
  const Operation operations[] = {
      {"disable", CU_RUN, false, CU_RUN, "Tool", disable, DISABLED},
      {"enable", CU_RUN, true, CU_RUN, "Tool", enable, ENABLED},
      {"edit", CU_RUN, false, CU_RUN, "Renamed", edit("Renamed"), ENABLED},
      {"edit disabled", CU_RUN, true, CU_RUN, "Renamed", edit("Renamed"), DISABLED},
      {"move", CU_RUN, false, LM_RUN, "Tool", move(LM_RUN), ENABLED},
      {"disable shortcut", CU_AUTO, false, CU_AUTO, "Tool.lnk", disable, DISABLED},
      {"enable shortcut", CU_AUTO, true, CU_AUTO, "Tool.lnk", enable, ENABLED},
      {"edit shortcut", CU_AUTO, false, CU_AUTO, "Renamed.lnk", edit("Renamed"), ENABLED},
      {"edit disabled shortcut", CU_AUTO, true, CU_AUTO, "Renamed.lnk", edit("Renamed"), DISABLED},
      {"move shortcut", CU_AUTO, false, LM_AUTO, "Tool.lnk", move(LM_AUTO), ENABLED},
  };
  io::file::setWriteStepHook(stopAtStep);
  for (const Operation& op : operations) {
    const std::string oldName = op.type == CU_RUN ? "Tool" : "Tool.lnk";
    for (int stop = 0;; ++stop) {
      SCOPED_TRACE(std::string(op.what) + ", killed at step " + std::to_string(stop));
      for (const char* sub : {"cuas", "lmas", "user", "all"}) harness::RemoveTree(folder / sub);
      for (const char* file : {"stelmar.dat", "stelmar.dat.values", "stelmar.dat.deleted"})
        ::DeleteFileA((folder / file).c_str());
      for (const char* sub : {"user", "all"}) ::CreateDirectoryA((folder / sub).c_str(), nullptr);
      for (HKEY hive : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        HKEY key = nullptr;
        ::RegOpenKeyExA(hive, RUN, 0, KEY_ALL_ACCESS, &key);
        for (const char* name : {"Tool", "Renamed"}) ::RegDeleteValueA(key, name);
        ::RegCloseKey(key);
      }
      if (op.type == CU_RUN)
        storetests::SetText(HKEY_CURRENT_USER, RUN, "Tool", notepad);
      else
        link(folder / "user\\Tool.lnk", notepad.c_str());
      {
        Stores before(folder);
        StartupItem entry(op.type, ENABLED, "", "");
        ASSERT_EQ(1u, before.count(op.type, oldName, &entry));
        if (op.disabledFirst) {
          ASSERT_TRUE(before.startup.disableEntry(entry));
        }
        stepsLeft = stop;
        op.run(before, entry);
      }
      const bool completed = !killed;
      killed = false;
      stepsLeft = -1;
      Stores after(folder);
      StartupItem found(op.type, ENABLED, "", "");
      const std::size_t old = after.count(op.type, oldName);
      const std::size_t renamed = after.count(op.newType, op.newName, &found);
      EXPECT_LE(std::max(old, renamed), 1u);  // shown once
      EXPECT_GE(old + renamed, 1u);           // live or kept
      if (!completed) continue;
      EXPECT_EQ(1u, renamed);
      EXPECT_EQ(op.finalState, found.getState());
      EXPECT_TRUE(after.handler.texts.empty());
      break;
    }
  }
  io::file::setWriteStepHook(nullptr);
}

TEST_F(StoreSafety, CaseTwinsAndHiddenValuesAreNeverOverwrittenUnasked) {
  Stores stores(folder);
  // A number under the name of a new entry is not listed, and not replaced.
  storetests::SetValue(HKEY_CURRENT_USER, RUN, "Flag", REG_DWORD, std::string("\x01\0\0\0", 4));
  StartupItem flag(CU_RUN, ENABLED, "FLAG", "C:\\windows\\notepad.exe");
  EXPECT_FALSE(stores.startup.addEntry(flag));
  ASSERT_EQ(1u, stores.handler.texts.size());
  EXPECT_NE(std::string::npos, stores.handler.texts[0].find("(registry type 4)"));
  EXPECT_EQ(static_cast<DWORD>(REG_DWORD), GetValue(HKEY_CURRENT_USER, RUN, "Flag").type);
  // A kept "UserTool" beside a live "usertool": disabling the live one keeps the older kept
  // one among the deleted entries.
  storetests::SetText(HKEY_CURRENT_USER, RUN, "usertool", "C:\\new.exe");
  StartupItem old(CU_RUN, ENABLED, "UserTool", "C:\\old.exe");
  storetests::SetText(HKEY_CURRENT_USER, RUN, "UserTool", "C:\\old.exe");
  ASSERT_TRUE(stores.startup.disableEntry(old));
  storetests::SetText(HKEY_CURRENT_USER, RUN, "usertool", "C:\\new.exe");
  StartupItem live(CU_RUN, ENABLED, "usertool", "");
  ASSERT_EQ(1u, stores.count(CU_RUN, "USERTOOL", &live));
  EXPECT_EQ("C:\\new.exe", live.getData());
  ASSERT_TRUE(stores.startup.disableEntry(live));
  ASSERT_EQ(1u, stores.recycle.getEntries().size());
  EXPECT_EQ(std::string("C:\\old.exe\0", 11), stores.recycle.getEntries()[0].bytes);
  EXPECT_EQ("C:\\new.exe", stores.backup.getEntries(CU_RUN).at(0).getData());
}

TEST_F(StoreSafety, ANameTheCodePageCannotHoldIsShownAndNeverMangled) {
  const std::wstring name = L"\x0422\x0435\x0441\x0442";  // "Test" in Cyrillic
  const std::string bytes("C:\\windows\\notepad.exe\0", 23);
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, RUN, 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
  const std::wstring data = L"C:\\windows\\notepad.exe";
  ::RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * 2));
  ::RegSetValueExW(key, (name + L"2").c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * 2));
  Stores stores(folder);
  StartupItem shown(CU_RUN, ENABLED, "", "");
  ASSERT_EQ(1u, stores.count(CU_RUN, "[U+0422][U+0435][U+0441][U+0442]", &shown));
  EXPECT_TRUE(shown.isInexact());
  EXPECT_EQ(1u, stores.count(CU_RUN, "[U+0422][U+0435][U+0441][U+0442]2"));
  const std::function<bool()> refused[] = {
      [&] { return stores.startup.disableEntry(shown); },
      [&] { return stores.startup.deleteEntry(shown); },
  };
  // A start-up folder file of such a name too.
  const std::string userFolder = folder / "user\\";
  const std::wstring file = std::wstring(userFolder.begin(), userFolder.end()) + name + L".exe";
  ::CloseHandle(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  StartupItem inFolder(CU_AUTO, ENABLED, "", "");
  ASSERT_EQ(1u, stores.count(CU_AUTO, "[U+0422][U+0435][U+0441][U+0442].exe", &inFolder));
  const std::function<bool()> refusedInFolder[] = {
      [&] { return stores.startup.disableEntry(inFolder); },
      [&] { return stores.startup.deleteEntry(inFolder); },
  };
  for (const auto& operation : refusedInFolder) {
    stores.handler.texts.clear();
    EXPECT_FALSE(operation());
    EXPECT_NE(std::string::npos,
              stores.handler.texts.at(0).find("stays as it is and keeps running"));
  }
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(file.c_str()));
  for (const auto& operation : refused) {
    stores.handler.texts.clear();
    EXPECT_FALSE(operation());
    ASSERT_EQ(1u, stores.handler.texts.size());
    EXPECT_NE(std::string::npos, stores.handler.texts[0].find("stays as it is and keeps running"));
  }
  DWORD type = 0, size = 0;
  EXPECT_EQ(ERROR_SUCCESS, ::RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size));
  EXPECT_EQ((data.size() + 1) * 2, size);
  EXPECT_TRUE(stores.backup.getAllEntries().empty());
  ::RegCloseKey(key);
}

TEST_F(StoreSafety, AShortcutKeepsEveryFieldThroughAMoveAndAnEdit) {
  link(folder / "user\\Tool.lnk", "C:\\windows\\notepad.exe");
  const std::string fields = link(folder / "user\\Tool.lnk");
  // (The show command is compared as the link object keeps it.)
  ASSERT_EQ(0u, fields.find("C:\\work|Kept whole|C:\\windows\\regedit.exe,2|" +
                            std::to_string(MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_ALT)) + "|"));
  Stores stores(folder);
  StartupItem tool(CU_AUTO, ENABLED, "", "");
  ASSERT_EQ(1u, stores.count(CU_AUTO, "Tool.lnk", &tool));
  StartupItem moved(LM_AUTO, ENABLED, "Tool.lnk", tool.getData());
  ASSERT_TRUE(products::stelmar::moveEntry(stores.startup, tool, moved));
  EXPECT_FALSE(harness::FileExists(folder / "user\\Tool.lnk"));
  EXPECT_EQ(fields, link(folder / "all\\Tool.lnk"));
  ASSERT_EQ(1u, stores.count(LM_AUTO, "Tool.lnk", &moved));
  StartupItem edited(LM_AUTO, ENABLED, "Edited.lnk", "C:\\windows\\regedit.exe -e");
  ASSERT_TRUE(products::stelmar::editEntry(stores.startup, moved, edited));
  EXPECT_FALSE(harness::FileExists(folder / "all\\Tool.lnk"));
  EXPECT_EQ(fields, link(folder / "all\\Edited.lnk"));
  EXPECT_EQ("C:\\windows\\regedit.exe -e",
            windows::file::IShellLinkShortcut(folder / "all\\Edited.lnk").getPath() + " -e");
  // A program file in the folder is the user's program: an edit leaves it alone.
  harness::WriteTextFile(folder / "user\\plain.exe", "MZ program");
  StartupItem plain(CU_AUTO, ENABLED, "", "");
  ASSERT_EQ(1u, stores.count(CU_AUTO, "plain.exe", &plain));
  StartupItem shortcutOfIt(CU_AUTO, ENABLED, "plain.exe.lnk", plain.getData() + " -x");
  EXPECT_FALSE(products::stelmar::editEntry(stores.startup, plain, shortcutOfIt));
  EXPECT_EQ("MZ program", harness::ReadTextFile(folder / "user\\plain.exe"));
  EXPECT_FALSE(harness::FileExists(folder / "user\\plain.exe.lnk"));
  EXPECT_TRUE(stores.handler.texts.size() == 1 &&
              stores.handler.texts[0].find("not a shortcut") != std::string::npos);
}

TEST_F(StoreSafety, ADeletedEntryIsRestoredByteForByte) {
  const std::string expandable("%SystemRoot%\\vk.exe\0", 20);
  storetests::SetValue(HKEY_CURRENT_USER, RUN, "Expand", REG_EXPAND_SZ, expandable);
  link(folder / "user\\Tool.lnk", "C:\\windows\\notepad.exe");
  const std::string file = harness::ReadTextFile(folder / "user\\Tool.lnk");
  {
    Stores stores(folder);
    for (auto [type, name] :
         {std::make_pair(CU_RUN, "Expand"), std::make_pair(CU_AUTO, "Tool.lnk")}) {
      StartupItem entry(type, ENABLED, "", "");
      ASSERT_EQ(1u, stores.count(type, name, &entry));
      ASSERT_TRUE(stores.startup.deleteEntry(entry));
    }
  }
  EXPECT_FALSE(GetValue(HKEY_CURRENT_USER, RUN, "Expand").exists);
  EXPECT_FALSE(harness::FileExists(folder / "user\\Tool.lnk"));
  Stores stores(folder);  // as at the next start
  const auto deleted = stores.startup.getDeletedEntries();
  ASSERT_EQ(2u, deleted.size());
  EXPECT_EQ("Tool.lnk", deleted[0].name);  // newest first
  for (const RecycledEntry& entry : deleted) EXPECT_TRUE(stores.startup.restoreEntry(entry.time));
  const storetests::Value value = GetValue(HKEY_CURRENT_USER, RUN, "Expand");
  EXPECT_EQ(static_cast<DWORD>(REG_EXPAND_SZ), value.type);
  EXPECT_EQ(expandable, value.bytes);
  EXPECT_EQ(file, harness::ReadTextFile(folder / "user\\Tool.lnk"));
  EXPECT_TRUE(stores.startup.getDeletedEntries().empty());
  EXPECT_TRUE(RecycleStore(folder / "stelmar.dat.deleted").getEntries().empty());
}

TEST_F(StoreSafety, AFailedSaveAfterAnEnableLeavesTheEntryShownLive) {
  storetests::SetText(HKEY_CURRENT_USER, RUN, "Tool", "C:\\windows\\notepad.exe");
  Stores stores(folder);
  StartupItem tool(CU_RUN, ENABLED, "", "");
  ASSERT_EQ(1u, stores.count(CU_RUN, "Tool", &tool));
  ASSERT_TRUE(stores.startup.disableEntry(tool));
  {
    storetests::HeldFile held(folder / "stelmar.dat");
    ASSERT_TRUE(held.held());
    EXPECT_FALSE(stores.startup.enableEntry(tool));
  }
  EXPECT_EQ(ENABLED, tool.getState());  // what the box shows
  EXPECT_TRUE(GetValue(HKEY_CURRENT_USER, RUN, "Tool").exists);
  EXPECT_EQ(1u, Stores(folder).count(CU_RUN, "Tool", &tool));
  EXPECT_EQ(ENABLED, tool.getState());
}

}  // namespace
