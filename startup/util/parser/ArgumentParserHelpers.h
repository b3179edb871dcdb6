// Splitting of the command lines kept in startup entries: the program path and its
// arguments, the file name, folder and extension of a path, and what kind of file a path
// names. Needs no Windows call.
#pragma once

#include <string>

namespace util::parser {

class ArgumentParserHelpers {
 public:
  // A leading quoted path with its quotes; else the text before the first blank after the
  // first "." unless that blank is the last character; else the whole text.
  static std::string getProgramPath(const std::string& commandLine);
  // What follows the program path, with its leading blank.
  static std::string getArguments(const std::string& commandLine);
  // Quotes removed; the part after the last backslash, without trailing arguments.
  static std::string getFileName(const std::string& path);
  // Quotes removed; up to and including the last backslash, or empty.
  static std::string getDirectory(const std::string& path);
  // The text after the last "." of the file name, or empty.
  static std::string getExtension(const std::string& path);
  // The program path's extension is "lnk" (any case).
  static bool isShortcut(const std::string& path);
  // The program path's extension is exe, com, bat, scr or vbs (any case).
  static bool isProgram(const std::string& path);
};

}  // namespace util::parser
