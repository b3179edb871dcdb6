#include "cleaner/CommandLine.h"

namespace commandline {

std::vector<std::string> Split(const std::string& commandLine) {
  std::vector<std::string> arguments;
  std::string::size_type i = 0;
  const std::string::size_type n = commandLine.size();
  for (;;) {
    while (i < n && static_cast<unsigned char>(commandLine[i]) <= ' ') ++i;
    if (i >= n) break;
    std::string argument;
    bool quoted = false;
    while (i < n && (quoted || static_cast<unsigned char>(commandLine[i]) > ' ')) {
      if (commandLine[i] == '"') {
        quoted = !quoted;
      } else {
        argument += commandLine[i];
      }
      ++i;
    }
    arguments.push_back(argument);
  }
  return arguments;
}

Mode ParseFirstArgument(const std::string& argument) {
  Mode mode;
  std::string start = argument.substr(0, 2);
  for (char& c : start)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (start != "/q" && start != "-q") return mode;
  mode.quiet = true;
  if (argument.size() >= 4 && argument[2] == ':') mode.preset = argument.substr(3);
  return mode;
}

std::string QuietArguments(const std::string& preset) {
  if (preset.empty()) return "/q";
  std::string arguments = "\"";
  for (char c : "/q:" + preset) {
    if (c == '"') arguments += '"';
    arguments += c;
  }
  return arguments + "\"";
}

}  // namespace commandline
