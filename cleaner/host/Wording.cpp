#include "cleaner/host/Wording.h"

#include <cmath>
#include <cstdio>

namespace wording {

namespace {
constexpr long long kKilo = 1024;
constexpr long long kMegabyteWordingFrom = 10 * 1024 * 1024;
constexpr int kSignificantDigits = 7;
}  // namespace

std::string FormatByteSize(long long bytes, char decimalSeparator) {
  if (bytes < kKilo) return std::to_string(bytes) + " bytes";
  if (bytes < kMegabyteWordingFrom) return std::to_string(bytes / kKilo) + " kB";

  // Fixed notation with one decimal, never more than seven significant digits: values of
  // eight or more integer digits are rounded to seven first.
  double megabytes = static_cast<double>(bytes) / (1024.0 * 1024.0);
  const int integerDigits = static_cast<int>(std::floor(std::log10(megabytes))) + 1;
  if (integerDigits > kSignificantDigits) {
    const double scale = std::pow(10.0, integerDigits - kSignificantDigits);
    megabytes = std::round(megabytes / scale) * scale;
  }
  char text[64];
  std::snprintf(text, sizeof text, "%.1f", megabytes);
  std::string result = text;
  const std::string::size_type dot = result.find('.');
  if (dot != std::string::npos) result[dot] = decimalSeparator;
  return result + " MB";
}

const char* ItemWord(long long count) { return count == 1 ? " item" : " items"; }

std::string Caption(const std::string& title, long long sizeFound, long long countFound,
                    char decimalSeparator) {
  return title + " (" + FormatByteSize(sizeFound, decimalSeparator) + "; " +
         std::to_string(countFound) + ItemWord(countFound) + ")";
}

std::string SelectionTotal(long long bytes, char decimalSeparator) {
  return "Total of " + FormatByteSize(bytes, decimalSeparator) + " selected to clean";
}

}  // namespace wording
