#include <memory>

#include "cleaner/BinaryPlugins.h"
#include "cleaner/ItemList.h"
#include "cleaner/Progress.h"
#include "cleaner/Textpluginfo.h"

void AddTextPlugins(ItemList& list, const std::string& programFolder, bool hideItems,
                    const std::string& iniPath, const std::string& section) {
  const std::string folder = programFolder + itemlist::kTextPluginFolder;
  for (const std::string& name : SortedFileNames(folder, textplugin::kPattern)) {
    auto item = std::make_unique<TextPlugInfo>(folder + name);
    progress::Counting(item->GetTitle());
    item->Prepare();
    list.Offer(std::move(item), hideItems, iniPath, section);  // destroyed when not taken
  }
}
