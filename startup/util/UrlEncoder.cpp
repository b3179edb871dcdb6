#include "startup/util/UrlEncoder.h"

namespace util {

std::string encodeQueryValue(const std::string& value) {
  static const char* const HEX_DIGITS = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(value.size());
  for (const char c : value) {
    const unsigned char byte = static_cast<unsigned char>(c);
    const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                            (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' ||
                            byte == '_' || byte == '~';
    if (unreserved) {
      encoded += c;
    } else {
      encoded += '%';
      encoded += HEX_DIGITS[byte >> 4];
      encoded += HEX_DIGITS[byte & 0x0F];
    }
  }
  return encoded;
}

std::string buildQuery(const std::vector<std::pair<std::string, std::string>>& parameters) {
  std::string query;
  for (const auto& [key, value] : parameters) {
    if (!query.empty()) query += '&';
    query += encodeQueryValue(key) + '=' + encodeQueryValue(value);
  }
  return query;
}

}  // namespace util
