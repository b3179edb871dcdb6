// Loads and saves the configuration text as a scrambled file through the whole-file load
// and save, which replaces the file only once the new one is complete.
#pragma once

#include <string>

#include "startup/util/config/Config.h"
#include "startup/util/config/Scrambler.h"

namespace util {
namespace config {

class ScrambledConfigFile : public ConfigLoader, public ConfigSaver {
 public:
  // Throws io::file::CouldNotLoadFileException.
  std::string load(const std::string& fileName) override;
  // Throws io::file::CouldNotSaveFileException; the old file stays whole on failure.
  void save(const std::string& fileName, const std::string& text) override;

 private:
  Scrambler _scrambler;
};

}  // namespace config
}  // namespace util
