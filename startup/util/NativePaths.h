// How a 32-bit program on 64-bit Windows names what 64-bit programs see: its system folder
// and its environment differ, and the entries of the native registry view are started by
// 64-bit Windows. Standard library only.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace util {

// (name, value) pairs of environment variables, names in any case.
using Variables = std::vector<std::pair<std::string, std::string>>;

// The text with each %name% whose name (in any case) is one of `variables` replaced by its
// value; every other %...% pair is left as it is, paired as Windows pairs them when it
// expands (a name not known keeps both its percent signs, and the search goes on after it).
std::string substituteVariables(const std::string& text, const Variables& variables);

// A path inside the system folder (`windowsFolder` + "\System32") rewritten through
// "Sysnative", the name by which a 32-bit program reaches the 64-bit system folder; any
// other path unchanged. Names compare without regard to case, as Windows compares them.
std::string sysnativePath(const std::string& path, const std::string& windowsFolder);

}  // namespace util
