#include "startup/util/NativePaths.h"

#include <gtest/gtest.h>

namespace {

TEST(NativePaths, SubstitutesOnlyTheGivenVariablesInAnyCase) {
  const util::Variables native = {{"ProgramFiles", "C:\\Program Files"}, {"X", "%Y%"}};
  struct Case { const char* text; const char* expected; };
  const Case cases[] = {
      {"%ProgramFiles%\\a.exe", "C:\\Program Files\\a.exe"},
      {"%SystemRoot%\\%PROGRAMFILES%", "%SystemRoot%\\C:\\Program Files"},
      // An unknown name keeps its pair; a lone percent sign stays.
      {"%a%ProgramFiles%", "%a%ProgramFiles%"},
      {"50% of %ProgramFiles", "50% of %ProgramFiles"},
      // A value is not searched again.
      {"%X%", "%Y%"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, util::substituteVariables(c.text, native)) << c.text;
}

TEST(NativePaths, TheSystemFolderGoesThroughSysnative) {
  struct Case { const char* path; const char* expected; };
  const Case cases[] = {
      {"C:\\Windows\\System32\\only64.exe", "C:\\Windows\\Sysnative\\only64.exe"},
      {"c:\\WINDOWS\\system32\\drivers\\x.sys", "C:\\Windows\\Sysnative\\drivers\\x.sys"},
      {"C:\\Windows\\System32x\\a.exe", "C:\\Windows\\System32x\\a.exe"},
      {"C:\\Windows\\SysWOW64\\a.exe", "C:\\Windows\\SysWOW64\\a.exe"},
      {"D:\\Windows\\System32\\a.exe", "D:\\Windows\\System32\\a.exe"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.expected, util::sysnativePath(c.path, "C:\\Windows\\")) << c.path;
}

}  // namespace
