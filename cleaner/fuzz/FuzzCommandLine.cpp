// The host's command line: arguments hold no quotes and no unquoted blanks, and the quiet
// arguments written for a preset name give that name back.
#include "cleaner/host/CommandLine.h"
#include "native/fuzz/FuzzCheck.h"

using fuzzcheck::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = fuzzcheck::Text(data, size);
  for (const std::string& argument : commandline::Split(text)) {
    Require(argument.find('"') == std::string::npos, "arguments hold no quotes");
    const commandline::Mode mode = commandline::ParseFirstArgument(argument);
    Require(mode.preset.empty() || mode.quiet, "a preset only in quiet mode");
  }
  // Preset names are section names: no NUL, and (see the closing note of issue 9) no quote,
  // which the splitting does not give back.
  if (text.find('\0') != std::string::npos || text.find('"') != std::string::npos) return 0;
  const std::vector<std::string> arguments = commandline::Split("morvel.exe " + commandline::QuietArguments(text));
  Require(arguments.size() == 2, "the quiet arguments are one argument");
  const commandline::Mode mode = commandline::ParseFirstArgument(arguments[1]);
  Require(mode.quiet && mode.preset == text, "the quiet arguments name the preset");
  return 0;
}
