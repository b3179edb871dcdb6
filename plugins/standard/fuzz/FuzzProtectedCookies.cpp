// The protected cookie list: names (split from the input at line feeds) go into the block
// in order, all of them whatever their number and length, come back out unchanged, protect
// exactly themselves, and the block ends with its empty name where the vector ends. The
// stored form ("-1" ends it) goes through the same block.
#include <algorithm>
#include <cstring>
#include <vector>

#include "native/fuzz/FuzzCheck.h"
#include "plugins/standard/Rules.h"

using fuzzcheck::Require;
using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = fuzzcheck::Text(data, size);
  std::vector<std::string> names;
  std::size_t at = 0;
  for (std::size_t end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
    names.push_back(text.substr(at, end - at));
  if (at < text.size()) names.push_back(text.substr(at));

  std::vector<char> block;
  ProtectedListBuilder builder(block);
  std::vector<std::string> kept;
  for (const std::string& name : names) {
    if (name.find('\0') != std::string::npos) continue;  // list box texts end at a NUL
    builder.Add(name);
    if (!name.empty()) kept.push_back(name);
  }
  Require(!block.empty() && block.back() == '\0' && (block.size() == 1 || block[block.size() - 2] == '\0'),
          "the block ends with its empty name");
  Require(ProtectedNames(block.data()) == kept, "the block gives back the names put in, in order");
  for (const std::string& name : kept) Require(IsProtected(block.data(), name.c_str()), "a listed name is protected");
  for (std::size_t i = 0; i < kept.size() && i < 64; ++i) {
    const std::string longer = kept[i] + "~";
    if (std::find(kept.begin(), kept.end(), longer) == kept.end())
      Require(!IsProtected(block.data(), longer.c_str()), "only listed names are protected");
  }

  std::vector<char> stored;
  ProtectedListBuilder load(stored);
  std::vector<std::string> loaded;
  for (const std::string& value : names) {
    const ProtectedListBuilder::Result result = load.AddStored(value.substr(0, value.find('\0')));
    if (result != ProtectedListBuilder::Result::Appended) break;
    if (!value.empty() && value[0] != '\0') loaded.push_back(value.substr(0, value.find('\0')));
  }
  Require(ProtectedNames(stored.data()) == loaded, "stored values load up to the end mark");
  return 0;
}
