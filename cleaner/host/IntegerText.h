// Whole-text integer conversion for the settings file's colours: optional leading blanks,
// an optional sign, then decimal digits or hexadecimal after "0x", "0X" or "$". Nothing
// may follow.
#pragma once

#include <string>

namespace integertext {

bool TryParseInt64(const std::string& text, long long& value);

// "'%s' is not a valid integer value" with the text in place of %s.
std::string NotValidIntegerMessage(const std::string& text);

}  // namespace integertext
