// The scrambling of "stelmar.cfg": each byte is XORed with the key byte at the same
// position modulo the key length, so the same operation scrambles and unscrambles and n
// bytes stay n bytes. Reading and writing keep their own positions in the key; both are
// set back to the first key byte before each file is loaded or saved. Standard library only.
#pragma once

#include <cstddef>
#include <string>

namespace util {
namespace config {

class Scrambler {
 public:
  static const char* const KEY;  // "talvorimesquen294"

  // Both positions back to the first key byte.
  void reset();
  // Scrambles bytes to be written, continuing at the write position.
  std::string scramble(const std::string& text);
  // Unscrambles bytes read, continuing at the read position.
  std::string unscramble(const std::string& bytes);

 private:
  static std::string apply(const std::string& bytes, std::size_t& position);

  std::size_t _readPosition = 0;
  std::size_t _writePosition = 0;
};

}  // namespace config
}  // namespace util
