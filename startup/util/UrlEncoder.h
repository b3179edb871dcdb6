// Query strings of the web addresses the startup manager opens. Every key and value is
// percent-encoded, so that a name holding "&", "#", "=" or a blank stays one value and
// cannot change the address. Standard library only.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace util {

// Every byte except A-Z, a-z, 0-9 and "-._~" as "%" and two upper-case hex digits.
std::string encodeQueryValue(const std::string& value);

// "key1=value1&key2=value2", each key and value encoded, in the order given.
std::string buildQuery(const std::vector<std::pair<std::string, std::string>>& parameters);

}  // namespace util
