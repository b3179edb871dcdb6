// How long stelmar takes to show its filled tree and to refresh it with 2,000 values under
// the current user's Run key and 200 shortcuts in the user's start-up folder. Seeds them,
// runs the program from a temporary folder, prints the times, and removes what it made.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "startup/ui/StelmarIds.h"
#include "startup/windows/file/Shortcut.h"
#include "tests/harness/Harness.h"

namespace {

const char* const kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr int kValues = 2000;
constexpr int kShortcuts = 200;

std::string Name(const char* prefix, int i) {
  char name[32];
  std::snprintf(name, sizeof name, "%s%04d", prefix, i);
  return name;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main() {
  CoInitialize(nullptr);
  HKEY run = nullptr;
  RegCreateKeyExA(HKEY_CURRENT_USER, kRun, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &run, nullptr);
  const std::string data = "C:\\windows\\notepad.exe /bench";
  for (int i = 0; i < kValues; ++i)
    RegSetValueExA(run, Name("VkBench", i).c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(data.c_str()), static_cast<DWORD>(data.size() + 1));
  char startup[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, startup);
  for (int i = 0; i < kShortcuts; ++i)
    windows::file::ShortcutWriter(std::string(startup) + "\\" + Name("VkBench", i) + ".lnk")
        .write("C:\\windows\\notepad.exe", "", "", "");

  int status = 1;
  {
    harness::TempFolder folder;
    harness::CopyFromBuild("stelmar.exe", folder.path());
    const auto started = std::chrono::steady_clock::now();
    harness::Process stelmar("\"" + folder.path() + "stelmar.exe\"");
    HWND dialog = harness::WaitForWindow("#32770", "Stelmar", stelmar.id(), 120000);
    HWND tree = dialog ? GetDlgItem(dialog, IDC_TREE) : nullptr;
    if (tree && harness::WaitUntil([&] {
          return TreeView_GetCount(tree) >= static_cast<UINT>(kValues + kShortcuts);
        }, 120000)) {
      const double shown = Seconds(started);
      const UINT filled = TreeView_GetCount(tree);
      const auto refreshStarted = std::chrono::steady_clock::now();
      // The click is sent, not posted: it returns once the refresh is done.
      SendMessageA(GetDlgItem(dialog, IDC_REFRESH), BM_CLICK, 0, 0);
      const double refreshed = Seconds(refreshStarted);
      const UINT again = TreeView_GetCount(tree);
      std::printf("entries: %d values, %d shortcuts; tree items: %u, after the refresh %u\n",
                  kValues, kShortcuts, filled, again);
      std::printf("start to filled tree: %.2f s\nrefresh: %.2f s\n", shown, refreshed);
      status = again == filled ? 0 : 1;
    } else {
      std::printf("the dialog did not show its entries\n");
    }
    if (dialog) SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    stelmar.Wait(20000);
  }

  for (int i = 0; i < kValues; ++i) RegDeleteValueA(run, Name("VkBench", i).c_str());
  RegCloseKey(run);
  for (int i = 0; i < kShortcuts; ++i)
    DeleteFileA((std::string(startup) + "\\" + Name("VkBench", i) + ".lnk").c_str());
  CoUninitialize();
  return status;
}
