// The colour values of the settings file against a reference conversion in 128 bits.
#include "cleaner/host/IntegerText.h"
#include "native/fuzz/FuzzCheck.h"

namespace {

bool Reference(const std::string& text, long long& value) {
  std::size_t i = text.find_first_not_of(" \t");
  if (i == std::string::npos) return false;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  int base = 10;
  if (text.compare(i, 1, "$") == 0) {
    base = 16;
    i += 1;
  } else if (text.compare(i, 2, "0x") == 0 || text.compare(i, 2, "0X") == 0) {
    base = 16;
    i += 2;
  }
  if (i >= text.size()) return false;
  if (base == 16 && text.size() - i > 16) return false;  // at most 64 bits of digits
  unsigned __int128 magnitude = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    int d = -1;
    if (c >= '0' && c <= '9') d = c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    if (d < 0) return false;
    magnitude = magnitude * base + d;
    if (magnitude > (static_cast<unsigned __int128>(1) << 64)) return false;
  }
  const unsigned __int128 limit = static_cast<unsigned __int128>(1) << 63;
  if (base == 10 && magnitude > (negative ? limit : limit - 1)) return false;
  if (base == 16 && magnitude >= (static_cast<unsigned __int128>(1) << 64)) return false;
  const unsigned long long bits = static_cast<unsigned long long>(magnitude);
  value = static_cast<long long>(negative ? 0 - bits : bits);
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = fuzzcheck::Text(data, size);
  long long value = 0, expected = 0;
  const bool parsed = integertext::TryParseInt64(text, value);
  fuzzcheck::Require(parsed == Reference(text, expected), "accepted exactly where the reference accepts");
  fuzzcheck::Require(!parsed || value == expected, "the value of the reference");
  return 0;
}
