#include "cleaner/host/CommandLine.h"

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

namespace {

std::string AsciiLower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

}  // namespace

Mode ParseFirstArgument(const std::string& argument) {
  Mode mode;
  const std::string start = AsciiLower(argument.substr(0, 2));
  if (start != "/q" && start != "-q") return mode;
  mode.quiet = true;
  if (argument.size() >= 4 && argument[2] == ':') mode.preset = argument.substr(3);
  return mode;
}

std::string ParseLogArgument(const std::string& argument) {
  const std::string start = AsciiLower(argument.substr(0, 5));
  if (start != "/log:" && start != "-log:") return std::string();
  return argument.substr(5);
}

std::string LogArgument(const std::string& path) { return "\"/log:" + path + "\""; }

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
