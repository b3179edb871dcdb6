// Loads orvane.vkp from its own folder through "_GetDLLInfo" as the host does, then runs
// the callbacks named on its command line: "clean1".."clean4", "config1".."config3".
// It writes what the records held after loading ("load.bin") and at the end ("done.bin")
// beside itself, in the layout of RecordDump.h.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "cleaner/plugin-api/PluginApi.h"
#include "plugins/standard/tests/RecordDump.h"

namespace {

std::string OwnFolder() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, n);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

void Dump(const std::string& file, HMODULE library, const DLLInfo* info, bool nextKept) {
  dump::Header header{};
  header.moduleMatches = info->module == library;
  header.itemCount = info->itemCount;
  header.nextKept = nextKept;
  FILE* out = std::fopen(file.c_str(), "wb");
  if (!out) return;
  std::fwrite(&header, sizeof header, 1, out);
  for (int i = 0; i < info->itemCount; ++i) {
    const DLLItem* item = info->items[i];
    dump::Item record{};
    std::memcpy(record.raw, item, sizeof record.raw);
    record.hasClean = item->CleanProc != nullptr;
    record.hasConfig = item->ConfigProc != nullptr;
    ICONINFO icon{};
    if (item->icon && GetIconInfo(item->icon, &icon)) {
      BITMAP bitmap{};
      GetObjectA(icon.hbmColor ? icon.hbmColor : icon.hbmMask, sizeof bitmap, &bitmap);
      record.iconWidth = bitmap.bmWidth;
      record.iconHeight = bitmap.bmHeight;
      if (icon.hbmColor) DeleteObject(icon.hbmColor);
      if (icon.hbmMask) DeleteObject(icon.hbmMask);
    }
    std::fwrite(&record, sizeof record, 1, out);
  }
  std::fclose(out);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = OwnFolder();
  HMODULE library = LoadLibraryA((folder + "orvane.vkp").c_str());
  if (!library) return 2;
  auto entry = reinterpret_cast<GetDLLInfoFn>(
      reinterpret_cast<void*>(GetProcAddress(library, DLLINFO_EXPORT_NAME)));
  if (!entry) return 3;
  DLLInfo* info = entry();
  if (!info) return 4;
  DLLInfo* const kMark = reinterpret_cast<DLLInfo*>(0x5A5A);
  info->next = kMark;
  Dump(folder + "load.bin", library, info, true);
  for (int i = 1; i < argc; ++i) {
    int n = 0;
    if (std::sscanf(argv[i], "clean%d", &n) == 1 && n >= 1 && n <= info->itemCount) {
      info->items[n - 1]->CleanProc();
    } else if (std::sscanf(argv[i], "config%d", &n) == 1 && n >= 1 && n <= info->itemCount &&
               info->items[n - 1]->ConfigProc) {
      info->items[n - 1]->ConfigProc();
    }
  }
  Dump(folder + "done.bin", library, info, info->next == kMark);
  FreeLibrary(library);
  return 0;
}
