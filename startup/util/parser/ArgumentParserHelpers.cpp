#include "startup/util/parser/ArgumentParserHelpers.h"

#include <algorithm>
#include <cctype>

namespace util::parser {

namespace {

std::string withoutQuotes(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (char c : text) {
    if (c != '"') result += c;
  }
  return result;
}

std::string lowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

std::string ArgumentParserHelpers::getProgramPath(const std::string& commandLine) {
  if (!commandLine.empty() && commandLine[0] == '"') {
    const std::string::size_type closing = commandLine.find('"', 1);
    if (closing != std::string::npos) return commandLine.substr(0, closing + 1);
  }
  const std::string::size_type dot = commandLine.find('.');
  if (dot != std::string::npos) {
    const std::string::size_type blank = commandLine.find(' ', dot);
    if (blank != std::string::npos && blank + 1 < commandLine.size()) {
      return commandLine.substr(0, blank);
    }
  }
  return commandLine;
}

std::string ArgumentParserHelpers::getArguments(const std::string& commandLine) {
  return commandLine.substr(getProgramPath(commandLine).size());
}

std::string ArgumentParserHelpers::getFileName(const std::string& path) {
  const std::string text = withoutQuotes(path);
  const std::string::size_type slash = text.rfind('\\');
  if (slash == std::string::npos) return text;
  std::string::size_type end = text.size();
  const std::string::size_type dot = text.rfind('.');
  if (dot != std::string::npos) {
    const std::string::size_type blank = text.find(' ', dot);
    if (blank != std::string::npos && blank > slash) end = blank;
  }
  return text.substr(slash + 1, end - slash - 1);
}

std::string ArgumentParserHelpers::getDirectory(const std::string& path) {
  const std::string text = withoutQuotes(path);
  const std::string::size_type slash = text.rfind('\\');
  return slash == std::string::npos ? std::string() : text.substr(0, slash + 1);
}

std::string ArgumentParserHelpers::getExtension(const std::string& path) {
  const std::string name = getFileName(path);
  const std::string::size_type dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

bool ArgumentParserHelpers::isShortcut(const std::string& path) {
  return lowerCase(getExtension(getProgramPath(path))) == "lnk";
}

bool ArgumentParserHelpers::isProgram(const std::string& path) {
  static const char* const programExtensions[] = {"exe", "com", "bat", "scr", "vbs"};
  const std::string extension = lowerCase(getExtension(getProgramPath(path)));
  return std::any_of(std::begin(programExtensions), std::end(programExtensions),
                     [&](const char* e) { return extension == e; });
}

}  // namespace util::parser
