// "stelmar.cfg": its scrambling undoes itself, and a text that parses can be edited: a key
// set reads back, commented out it is gone, uncommented it is back, and the edited text
// parses to the same keys.
#include "native/fuzz/FuzzCheck.h"
#include "startup/platform/errorresources/Exceptions.h"
#include "startup/util/config/ConfigImpl.h"
#include "startup/util/config/Scrambler.h"

using fuzzcheck::Require;
using namespace util::config;

namespace {

struct NoFiles : ConfigLoader, ConfigSaver {
  std::string load(const std::string&) override { return std::string(); }
  void save(const std::string&, const std::string&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = fuzzcheck::Text(data, size);
  Scrambler scrambler;
  const std::string scrambled = scrambler.scramble(text);
  scrambler.reset();
  Require(scrambled.size() == text.size() && scrambler.unscramble(scrambled) == text, "unscrambling undoes scrambling");

  NoFiles files;
  const std::string key = "fuzz.key";
  if (text.find(key) != std::string::npos) return 0;  // the edits below assume a new key
  try {
    ConfigImpl config(text, ConfigImpl::FROM_TEXT, files, files);
    const int keys = config.getNumberOfKeys();
    const bool had = config.hasKey(key);
    config.setString(key, "value");
    Require(config.getString(key) == "value", "a key set reads back");
    Require(config.getNumberOfKeys() == keys + (had ? 0 : 1), "setting a new key adds one key");
    config.commentOutKey(key);
    Require(!config.hasKey(key), "a key commented out is gone");
    config.uncommentKey(key);
    Require(config.hasKey(key) && config.getString(key) == "value", "a key uncommented is back");
    ConfigImpl reread(config.getText(), ConfigImpl::FROM_TEXT, files, files);
    Require(reread.getNumberOfKeys() == config.getNumberOfKeys(), "the edited text parses to the same keys");
  } catch (const exceptions::Exception&) {
    // A text that does not parse, or an edit that the text refuses, is reported so.
  }
  return 0;
}
