// The long-name matcher against a slow reference written straight from the rules.
// Input: the name, a NUL, the mask.
#include <cstring>
#include <vector>

#include "cleaner/textplugin/TextEntries.h"
#include "native/fuzz/FuzzCheck.h"

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether name[n..] matches mask[m..], straight from the rules; memoised, since stars
// branch.
struct Rest {
  const std::string& name;
  const std::string& mask;
  std::vector<signed char> memo = std::vector<signed char>((name.size() + 1) * (mask.size() + 1), -1);

  bool operator()(std::size_t n, std::size_t m) {
    signed char& known = memo[n * (mask.size() + 1) + m];
    if (known < 0) known = Compute(n, m);
    return known != 0;
  }
  bool Compute(std::size_t n, std::size_t m) {
    if (m == mask.size()) return n == name.size();
    if (mask[m] == '*') return (*this)(n, m + 1) || (n < name.size() && (*this)(n + 1, m));
    if (n == name.size()) return mask.find_first_not_of(".*", m) == std::string::npos;
    if (mask[m] != '?' && Upper(mask[m]) != Upper(name[n])) return false;
    return (*this)(n + 1, m + 1);
  }
};

bool Reference(const std::string& name, std::string mask) {
  if (mask == "*.*") return !name.empty();
  if (!mask.empty() && mask.back() == '.') {
    if (name.find('.') != std::string::npos) return false;
    while (!mask.empty() && mask.back() == '.') mask.pop_back();
  }
  return Rest{name, mask}(0, 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = fuzzcheck::Text(data, size);
  const std::size_t split = text.find('\0');
  if (split == std::string::npos) return 0;
  const std::string name = text.substr(0, split);
  const std::string mask = text.substr(split + 1);
  // File names have at most 255 characters; the reference's recursion stays shallow.
  if (name.empty() || name.size() > 255 || mask.size() > 255 || mask.find('\0') != std::string::npos) return 0;
  static const textentries::CaseFold fold = textentries::AsciiCaseFold();
  fuzzcheck::Require(textentries::MatchesMask(name.c_str(), mask.c_str(), fold) == Reference(name, mask),
                     "the matcher agrees with the reference");
  return 0;
}
