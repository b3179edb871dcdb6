// The host's command line: only the first argument is examined.
#pragma once

#include <string>
#include <vector>

namespace commandline {

// Splits a command line at blanks; a double quote starts or ends a quoted run and is
// dropped. Element 0 is the program.
std::vector<std::string> Split(const std::string& commandLine);

struct Mode {
  bool quiet = false;
  std::string preset;  // empty when none
};

// "/q", "-Q", "/quick" select quiet mode; "/q:Name" also names a preset.
Mode ParseFirstArgument(const std::string& argument);

// The optional second argument of a quiet run, "/log:PATH" ("-log:", either case): the
// file its report is appended to. Empty for any other argument and for "/log:" alone.
std::string ParseLogArgument(const std::string& argument);

// The second argument that makes a quiet run append its report to `path`, quoted so that
// blanks in the path survive the command line. Paths hold no double quotes.
std::string LogArgument(const std::string& path);

// Arguments that start the host in quiet mode: "/q" for the last used ticks, or
// "/q:Name" in double quotes (a double quote inside the name doubled) for a preset.
std::string QuietArguments(const std::string& preset);

}  // namespace commandline
