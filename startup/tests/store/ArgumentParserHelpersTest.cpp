#include <gtest/gtest.h>

#include "startup/util/parser/ArgumentParserHelpers.h"

namespace {

using util::parser::ArgumentParserHelpers;

TEST(ArgumentParserHelpers, SplitsProgramPathAndArguments) {
  struct Case {
    const char* commandLine;
    const char* program;
    const char* arguments;
  };
  const Case cases[] = {
      {"", "", ""},
      {"\"C:\\Program Files\\x.exe\" -a b", "\"C:\\Program Files\\x.exe\"", " -a b"},
      {"\"C:\\Program Files\\x.exe\"", "\"C:\\Program Files\\x.exe\"", ""},
      {"C:\\x.exe -a", "C:\\x.exe", " -a"},
      {"C:\\x.exe ", "C:\\x.exe ", ""},
      {"C:\\x.exe", "C:\\x.exe", ""},
      {"rundll32.exe shell32.dll,Control_RunDLL", "rundll32.exe", " shell32.dll,Control_RunDLL"},
      {"C:\\Program Files\\x.exe", "C:\\Program Files\\x.exe", ""},
      // The blank that counts is the first one after the first dot, wherever it lies.
      {"C:\\Program Files\\x.exe /a", "C:\\Program Files\\x.exe", " /a"},
      {"C:\\My.Dir\\Sub Dir\\x.exe", "C:\\My.Dir\\Sub", " Dir\\x.exe"},
      {"no dot at all", "no dot at all", ""},
      // An unclosed quote is no quoted path.
      {"\"C:\\x.exe -a", "\"C:\\x.exe", " -a"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.program, ArgumentParserHelpers::getProgramPath(c.commandLine)) << c.commandLine;
    EXPECT_EQ(c.arguments, ArgumentParserHelpers::getArguments(c.commandLine)) << c.commandLine;
  }
}

TEST(ArgumentParserHelpers, SplitsFileNameDirectoryAndExtension) {
  struct Case {
    const char* path;
    const char* file;
    const char* directory;
    const char* extension;
  };
  const Case cases[] = {
      {"", "", "", ""},
      {"x.exe", "x.exe", "", "exe"},
      {"\"C:\\Program Files\\x.exe\"", "x.exe", "C:\\Program Files\\", "exe"},
      {"C:\\dir\\x.exe -a", "x.exe", "C:\\dir\\", "exe"},
      {"\"C:\\dir\\x.exe\" -a -b", "x.exe", "C:\\dir\\", "exe"},
      {"C:\\dir\\", "", "C:\\dir\\", ""},
      {"C:\\dir\\README", "README", "C:\\dir\\", ""},
      {"C:\\dir\\a.lnk.bak", "a.lnk.bak", "C:\\dir\\", "bak"},
      {"C:\\dir\\Tool.LNK", "Tool.LNK", "C:\\dir\\", "LNK"},
      // A blank after the last dot but before the last backslash does not cut the name.
      {"C:\\a.b c\\name", "name", "C:\\a.b c\\", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.file, ArgumentParserHelpers::getFileName(c.path)) << c.path;
    EXPECT_EQ(c.directory, ArgumentParserHelpers::getDirectory(c.path)) << c.path;
    EXPECT_EQ(c.extension, ArgumentParserHelpers::getExtension(c.path)) << c.path;
  }
}

TEST(ArgumentParserHelpers, TellsShortcutsAndProgramsApart) {
  struct Case {
    const char* path;
    bool shortcut;
    bool program;
  };
  const Case cases[] = {
      {"C:\\s\\Tool.lnk", true, false},
      {"C:\\s\\Tool.LNK", true, false},
      {"C:\\s\\a.lnk.bak", false, false},
      {"C:\\s\\setup.EXE", false, true},
      {"x.com", false, true},
      {"x.bat /q", false, true},
      {"C:\\s\\saver.scr", false, true},
      {"\"C:\\s p\\run.vbs\" a", false, true},
      {"C:\\s\\notes.txt", false, false},
      {"C:\\s\\noextension", false, false},
      {"", false, false},
      {"C:\\s\\x.exe.txt", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.shortcut, ArgumentParserHelpers::isShortcut(c.path)) << c.path;
    EXPECT_EQ(c.program, ArgumentParserHelpers::isProgram(c.path)) << c.path;
  }
}

}  // namespace
