// Text helpers of the startup manager's dialogs. Standard library only.
#pragma once

#include <string>

namespace util {

class StringHelper {
 public:
  // A lower-case copy (bytes of the system code page; only A to Z change).
  static std::string toLowerCase(const std::string& src);
  // `replaceIn` with every occurrence of `from` replaced by `to`, from left to right; an
  // empty `from` changes nothing.
  static std::string replaceAll(const std::string& replaceIn, const std::string& from,
                                const std::string& to);
  // The text without its double quotes.
  static std::string removeQuotes(const std::string& text);
};

}  // namespace util
