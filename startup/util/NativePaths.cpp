#include "startup/util/NativePaths.h"

#include <cctype>

namespace util {

namespace {

bool sameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace

std::string substituteVariables(const std::string& text, const Variables& variables) {
  std::string result;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t open = text.find('%', at);
    const std::size_t close = open == std::string::npos ? open : text.find('%', open + 1);
    if (close == std::string::npos) break;
    result.append(text, at, open - at);
    const std::string name = text.substr(open + 1, close - open - 1);
    const Variables::value_type* known = nullptr;
    for (const auto& variable : variables)
      if (sameText(variable.first, name)) known = &variable;
    if (known)
      result += known->second;
    else
      result.append(text, open, close - open + 1);
    at = close + 1;
  }
  result.append(text, at, std::string::npos);
  return result;
}

std::string sysnativePath(const std::string& path, const std::string& windowsFolder) {
  std::string folder = windowsFolder;
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  const std::string system = folder + "\\System32";
  if (path.size() < system.size() || !sameText(path.substr(0, system.size()), system))
    return path;
  if (path.size() > system.size() && path[system.size()] != '\\') return path;
  return folder + "\\Sysnative" + path.substr(system.size());
}

}  // namespace util
