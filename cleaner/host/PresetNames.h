// The list of preset names as the settings file stores it under "SavedSettings": names
// joined with commas, a name quoted when it holds a blank, a control character, a double
// quote or a comma.
#pragma once

#include <string>
#include <vector>

namespace presetnames {

std::string Encode(const std::vector<std::string>& names);
std::vector<std::string> Decode(const std::string& text);

// "PLUGINS" and "MORVEL", in any case, name the host's own sections.
bool IsReserved(const std::string& name);

// Equal without regard to ASCII case, as section names of the settings file compare.
bool SameName(const std::string& a, const std::string& b);

}  // namespace presetnames
