// The command lines of startup entries: program path and arguments make up the line, and
// the tokenizer's tokens are the text between its delimiters.
#include "native/fuzz/FuzzCheck.h"
#include "startup/util/parser/ArgumentParserHelpers.h"
#include "startup/util/parser/StringTokenizerImpl.h"

using fuzzcheck::Require;
using util::parser::ArgumentParserHelpers;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string line = fuzzcheck::Text(data, size);
  const std::string program = ArgumentParserHelpers::getProgramPath(line);
  Require(program + ArgumentParserHelpers::getArguments(line) == line, "program path and arguments make up the line");
  const std::string file = ArgumentParserHelpers::getFileName(program);
  Require(file.find('\\') == std::string::npos && file.find('"') == std::string::npos, "a file name holds no folder");
  Require(ArgumentParserHelpers::getDirectory(program).size() <= program.size(), "the folder lies within the path");
  ArgumentParserHelpers::isProgram(line);
  ArgumentParserHelpers::isShortcut(line);

  const std::string delimiters = " \t,";
  util::parser::StringTokenizerImpl tokens(line, delimiters);
  const int count = tokens.countTokens();
  std::string joined;
  int seen = 0;
  while (tokens.hasMoreTokens()) {
    const std::string token = tokens.nextToken();
    Require(!token.empty() && token.find_first_of(delimiters) == std::string::npos, "tokens are whole and hold no delimiter");
    joined += token;
    ++seen;
  }
  std::string expected;
  for (char c : line)
    if (delimiters.find(c) == std::string::npos) expected += c;
  Require(seen == count && joined == expected, "the tokens are the text between the delimiters");
  return 0;
}
