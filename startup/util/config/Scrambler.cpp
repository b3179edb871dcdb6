#include "startup/util/config/Scrambler.h"

#include <cstring>

namespace util {
namespace config {

const char* const Scrambler::KEY = "talvorimesquen294";

void Scrambler::reset() {
  _readPosition = 0;
  _writePosition = 0;
}

std::string Scrambler::apply(const std::string& bytes, std::size_t& position) {
  const std::size_t keyLength = std::strlen(KEY);
  std::string result(bytes.size(), '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    result[i] = static_cast<char>(static_cast<unsigned char>(bytes[i]) ^
                                  static_cast<unsigned char>(KEY[position]));
    position = (position + 1) % keyLength;
  }
  return result;
}

std::string Scrambler::scramble(const std::string& text) { return apply(text, _writePosition); }

std::string Scrambler::unscramble(const std::string& bytes) { return apply(bytes, _readPosition); }

}  // namespace config
}  // namespace util
