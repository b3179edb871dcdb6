#include "cleaner/host/BinaryPlugins.h"

#include "cleaner/textplugin/Textpluginfo.h"
#include "cleaner/textplugin/Progress.h"
#include "common/Unique.h"

void DLLList::LoadBinaryPlugin(const std::string& folder, const std::string& fileName) {
  const std::string path = folder + fileName;
  win::UniqueModule module(LoadLibraryA(path.c_str()));
  if (!module) return;
  auto getInfo = reinterpret_cast<GetDLLInfoFn>(
      reinterpret_cast<void*>(GetProcAddress(module.get(), DLLINFO_EXPORT_NAME)));
  if (!getInfo) return;  // unloaded by the owner
  DLLInfo* info = getInfo();
  if (!info) return;  // offers nothing; unloaded at once, never called again
  // From here the library stays loaded until UnloadAll, which unloads it through the
  // handle the plug-in reported in its record (normally the same one).
  (void)module.release();
  info->next = nullptr;
  if (tail_) {
    tail_->next = info;
  } else {
    head_ = info;
  }
  tail_ = info;
}

void DLLList::LoadAll(const std::string& folder) {
  for (const std::string& name : SortedFileNames(folder, "*.vkp")) {
    progress::Counting(name);
    LoadBinaryPlugin(folder, name);
  }
}

void DLLList::UnloadAll() {
  DLLInfo* info = head_;
  head_ = tail_ = nullptr;
  while (info) {
    DLLInfo* next = info->next;  // read before the library (and its record) goes away
    FreeLibrary(info->module);
    info = next;
  }
}
