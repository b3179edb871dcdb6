#include "startup/util/StringHelper.h"

#include <algorithm>

#include "startup/platform/errorresources/Assertion.h"

namespace util {

std::string StringHelper::toLowerCase(const std::string& src) {
  STELMAR_ASSERT(src.c_str()[src.size()] == 0);
  std::string lower = src;
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

std::string StringHelper::replaceAll(const std::string& replaceIn, const std::string& from,
                                     const std::string& to) {
  using std::find;
  STELMAR_ASSERT(find(replaceIn.begin(), replaceIn.end(), '\0') == replaceIn.end());
  if (from.empty()) return replaceIn;
  std::string result;
  std::size_t start = 0;
  for (std::size_t hit; (hit = replaceIn.find(from, start)) != std::string::npos;
       start = hit + from.size()) {
    result.append(replaceIn, start, hit - start).append(to);
  }
  return result.append(replaceIn, start, std::string::npos);
}

std::string StringHelper::removeQuotes(const std::string& text) {
  return replaceAll(text, "\"", "");
}

}  // namespace util
