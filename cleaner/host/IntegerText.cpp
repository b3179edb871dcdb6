#include "cleaner/host/IntegerText.h"

#include <cstdint>

namespace integertext {

namespace {
constexpr const char* kNotValidInteger = "'%s' is not a valid integer value";

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

bool TryParseInt64(const std::string& text, long long& value) {
  std::string::size_type i = 0;
  const std::string::size_type n = text.size();
  while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  bool hex = false;
  if (i < n && text[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= n) return false;

  std::uint64_t magnitude = 0;
  if (hex) {
    // Up to sixteen hexadecimal digits: the whole 64-bit pattern.
    if (n - i > 16) return false;
    for (; i < n; ++i) {
      const int d = HexDigit(text[i]);
      if (d < 0) return false;
      magnitude = magnitude * 16 + static_cast<unsigned>(d);
    }
  } else {
    const std::uint64_t limit = negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
    for (; i < n; ++i) {
      if (text[i] < '0' || text[i] > '9') return false;
      const unsigned d = static_cast<unsigned>(text[i] - '0');
      if (magnitude > (limit - d) / 10) return false;
      magnitude = magnitude * 10 + d;
    }
  }
  value = static_cast<long long>(negative ? std::uint64_t{0} - magnitude : magnitude);
  return true;
}

std::string NotValidIntegerMessage(const std::string& text) {
  std::string message = kNotValidInteger;
  return message.replace(message.find("%s"), 2, text);
}

}  // namespace integertext
