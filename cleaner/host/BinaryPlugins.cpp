#include "cleaner/host/BinaryPlugins.h"

#include <cstdint>

#include "cleaner/host/PluginGuard.h"
#include "cleaner/textplugin/Textpluginfo.h"
#include "cleaner/textplugin/Progress.h"
#include "common/Unique.h"

namespace binaryplugins {
std::string FaultMessage(const std::string& fileName) {
  std::string text = kFaultMessage;
  return text.replace(text.find("%s"), 2, fileName);
}
}  // namespace binaryplugins

namespace {

// The address range of a loaded module's image.
bool ImageRange(HMODULE module, std::uintptr_t& base, std::uintptr_t& size) {
  IMAGE_DOS_HEADER dos;
  IMAGE_NT_HEADERS nt;
  base = reinterpret_cast<std::uintptr_t>(module);
  if (!pluginguard::Read(module, &dos, sizeof dos) || dos.e_magic != IMAGE_DOS_SIGNATURE ||
      !pluginguard::Read(reinterpret_cast<const char*>(module) + dos.e_lfanew, &nt, sizeof nt) ||
      nt.Signature != IMAGE_NT_SIGNATURE)
    return false;
  size = nt.OptionalHeader.SizeOfImage;
  return true;
}

struct WindowSearch {
  HMODULE module;
  std::uintptr_t base, size;
  std::vector<HWND> found;
  bool served = false;  // of the window being looked at or one of its children
};

// Whether the plug-in's code serves a window: its instance, window procedure or dialog
// procedure.
bool Serves(const WindowSearch& search, HWND window) {
  auto inside = [&](LONG_PTR address) {
    return static_cast<std::uintptr_t>(address) - search.base < search.size;
  };
  if (reinterpret_cast<HMODULE>(GetWindowLongPtrA(window, GWLP_HINSTANCE)) == search.module) return true;
  if (inside(GetWindowLongPtrA(window, GWLP_WNDPROC))) return true;
  char className[8] = "";
  GetClassNameA(window, className, sizeof className);
  return lstrcmpA(className, "#32770") == 0 && inside(GetWindowLongPtrA(window, DWLP_DLGPROC));
}

BOOL CALLBACK MarkServedChild(HWND child, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  search->served = Serves(*search, child);
  return !search->served;
}

BOOL CALLBACK CollectServed(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  search->served = Serves(*search, window);
  if (!search->served) EnumChildWindows(window, MarkServedChild, param);
  if (search->served) search->found.push_back(window);
  return TRUE;
}

// Destroys the thread's windows that the plug-in's code serves (its dialogs, its sheets),
// which would call into it once it is unloaded, and enables their owners again: a modal
// loop that the fault cut short leaves its owner disabled.
void CloseWindowsOf(HMODULE module) {
  WindowSearch search{module, 0, 0, {}, false};
  if (!ImageRange(module, search.base, search.size)) return;
  EnumThreadWindows(GetCurrentThreadId(), CollectServed, reinterpret_cast<LPARAM>(&search));
  for (HWND window : search.found) {
    HWND owner = GetWindow(window, GW_OWNER);
    DWORD code = 0;
    auto destroy = [&] { DestroyWindow(window); };
    pluginguard::Call(destroy, code);
    if (owner && IsWindow(owner)) EnableWindow(owner, TRUE);
  }
}

}  // namespace

bool BinaryPlugin::Load(GetDLLInfoFn getInfo) {
  DLLInfo* info = nullptr;
  DWORD code = 0;
  auto call = [&] { info = getInfo(); };
  if (!pluginguard::Call(call, code)) return false;
  if (!info) return true;  // offers nothing
  DLLInfo record;
  if (!pluginguard::Read(info, &record, sizeof record) || !pluginguard::Writable(&info->next, sizeof info->next))
    return false;
  info_ = info;
  if (record.itemCount <= 0) return true;
  if (record.itemCount > binaryplugins::kMostItems) return false;
  if (!record.items) return true;
  items_.resize(static_cast<size_t>(record.itemCount));
  if (!pluginguard::Read(record.items, items_.data(), items_.size() * sizeof(DLLItem*))) return false;
  for (DLLItem* item : items_)
    if (item && !pluginguard::Readable(item, sizeof(DLLItem))) return false;
  return true;
}

bool BinaryPlugin::ReadItem(const DLLItem* item, DLLItem& copy) {
  if (!healthy()) return false;
  if (pluginguard::Read(item, &copy, sizeof copy)) return true;
  Fault();
  return false;
}

bool BinaryPlugin::Call(void(__cdecl* callback)(void)) {
  if (!healthy() || !callback) return false;
  DWORD code = 0;
  auto call = [callback] { callback(); };
  if (pluginguard::Call(call, code)) return true;
  Fault();
  return false;
}

void BinaryPlugin::Fault() {
  if (!healthy()) return;
  HMODULE module = module_;
  module_ = nullptr;
  info_ = nullptr;
  items_.clear();
  CloseWindowsOf(module);
  owner_.Faulted(*this);
  // Its own clean-up may fault as well; it is not called again either way.
  DWORD code = 0;
  auto unload = [&] { FreeLibrary(module); };
  pluginguard::Call(unload, code);
}

void DLLList::LoadBinaryPlugin(const std::string& folder, const std::string& fileName) {
  const std::string path = folder + fileName;
  win::UniqueModule module(LoadLibraryA(path.c_str()));
  if (!module) return;
  auto getInfo = reinterpret_cast<GetDLLInfoFn>(
      reinterpret_cast<void*>(GetProcAddress(module.get(), DLLINFO_EXPORT_NAME)));
  if (!getInfo) return;  // unloaded by the owner
  auto plugin = std::make_unique<BinaryPlugin>(*this, fileName, module.get());
  if (!plugin->Load(getInfo)) {
    (void)module.release();
    plugin->Fault();
    return;
  }
  if (!plugin->info()) return;  // offers nothing; unloaded at once, never called again
  // From here the library stays loaded until UnloadAll.
  (void)module.release();
  plugins_.push_back(std::move(plugin));
  Relink();
}

void DLLList::LoadAll(const std::string& folder) {
  for (const std::string& name : SortedFileNames(folder, "*.vkp")) {
    progress::Counting(name);
    LoadBinaryPlugin(folder, name);
  }
}

DLLInfo* DLLList::head() const {
  for (const auto& plugin : plugins_)
    if (plugin->healthy()) return plugin->info();
  return nullptr;
}

void DLLList::Relink() {
  DLLInfo* next = nullptr;
  for (auto it = plugins_.rbegin(); it != plugins_.rend(); ++it) {
    BinaryPlugin& plugin = **it;
    if (!plugin.healthy()) continue;
    // Checked writable when the record was taken; a plug-in that has since made it
    // unwritable is dropped like any other fault.
    if (!pluginguard::Write(&plugin.info()->next, &next, sizeof next)) {
      plugin.Fault();
      return;
    }
    next = plugin.info();
  }
}

void DLLList::Faulted(BinaryPlugin& plugin) {
  if (onFault_) onFault_(plugin.fileName());
  Relink();
}

void DLLList::UnloadAll() {
  std::vector<std::unique_ptr<BinaryPlugin>> plugins;
  plugins.swap(plugins_);
  for (auto& plugin : plugins) {
    if (!plugin->healthy()) continue;
    HMODULE module = plugin->module_;
    plugin->module_ = nullptr;
    DWORD code = 0;
    auto unload = [&] { FreeLibrary(module); };
    pluginguard::Call(unload, code);
  }
}
