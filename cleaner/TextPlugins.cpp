#include "cleaner/ItemList.h"

// Text plug-ins are not read yet; the list holds the binary plug-ins' items only.
void AddTextPlugins(ItemList&, const std::string&, bool, const std::string&, const std::string&) {}
