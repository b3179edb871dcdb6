// The "SavedSettings" list, both ways: a decoded list encodes to a text that decodes to the
// same names, and a list of names (split from the input at line feeds) survives encoding.
#include <algorithm>

#include "cleaner/host/PresetNames.h"
#include "native/fuzz/FuzzCheck.h"

using fuzzcheck::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = fuzzcheck::Text(data, size);
  // The format keeps no empty name after a comma ("a," is one name); every other name
  // survives, in order.
  auto named = [](std::vector<std::string> names) {
    names.erase(std::remove(names.begin(), names.end(), std::string()), names.end());
    return names;
  };
  const std::vector<std::string> decoded = presetnames::Decode(text);
  Require(named(presetnames::Decode(presetnames::Encode(decoded))) == named(decoded),
          "a decoded list encodes back to the same names");

  std::vector<std::string> names;
  std::size_t at = 0;
  for (std::size_t end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
    names.push_back(text.substr(at, end - at));
  if (at < text.size()) names.push_back(text.substr(at));
  // Preset names are section names: never empty (the list format drops an empty name
  // after a comma), and a profile string ends at a NUL.
  for (const std::string& name : names)
    if (name.empty() || name.find('\0') != std::string::npos) return 0;
  Require(presetnames::Decode(presetnames::Encode(names)) == names, "encoded names decode to the same names");
  return 0;
}
