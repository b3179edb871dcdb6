#include "startup/util/config/ScrambledConfigFile.h"

#include "startup/io/file/FileHelper.h"

namespace util {
namespace config {

std::string ScrambledConfigFile::load(const std::string& fileName) {
  const std::string bytes = io::file::FileHelper::load(fileName);
  _scrambler.reset();
  return _scrambler.unscramble(bytes);
}

void ScrambledConfigFile::save(const std::string& fileName, const std::string& text) {
  _scrambler.reset();
  io::file::FileHelper::save(fileName, _scrambler.scramble(text));
}

}  // namespace config
}  // namespace util
