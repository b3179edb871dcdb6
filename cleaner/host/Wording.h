// The host's wording of byte counts, list captions and result lines. Portable: the
// decimal separator of the user's locale is passed in.
#pragma once

#include <string>

namespace wording {

// "0 bytes" .. "1023 bytes", "1 kB" .. "10239 kB", then megabytes with one decimal.
std::string FormatByteSize(long long bytes, char decimalSeparator);

// " item" exactly for 1, " items" otherwise.
const char* ItemWord(long long count);

// Title (size; count item[s]), as the item list shows it.
std::string Caption(const std::string& title, long long sizeFound, long long countFound,
                    char decimalSeparator);

// "Total of <size> selected to clean".
std::string SelectionTotal(long long bytes, char decimalSeparator);

}  // namespace wording
