#include "cleaner/textplugin/TextEntries.h"

#include <gtest/gtest.h>

namespace {

using namespace textentries;

TEST(SectionLines, SplitsAtTerminatorsAndStopsAtTheEmptyLine) {
  const char text[] = "a=b\0C:\\x\\*.*\0\0ignored\0";
  EXPECT_EQ(std::vector<std::string>({"a=b", "C:\\x\\*.*"}), SectionLines(text, sizeof text - 1));
  EXPECT_TRUE(SectionLines(text, 0).empty());
  // A buffer cut without a terminator keeps what lies inside the bound, and no more.
  EXPECT_EQ(std::vector<std::string>({"a=b", "C:"}), SectionLines(text, 6));
}

TEST(StripSwitches, SetsTheFlagsOfEachSpelling) {
  struct Case { const char* entry; const char* path; bool sub, only, include; };
  const Case cases[] = {
      {"C:\\t\\*.*", "C:\\t\\*.*", false, false, false},
      {"C:\\t\\*.* /S", "C:\\t\\*.* ", true, false, false},
      {"C:\\t\\*.* /s", "C:\\t\\*.* ", true, false, false},
      {"C:\\t\\*.* /SI", "C:\\t\\*.* ", true, false, true},
      {"C:\\t\\*.* /si", "C:\\t\\*.* ", true, false, true},
      {"C:\\t\\*.* /SO", "C:\\t\\*.* ", true, true, false},
      {"C:\\t\\*.* /sO", "C:\\t\\*.* ", true, true, false},
      {"C:\\t\\*.* /SIO", "C:\\t\\*.* ", true, false, true},
      {"C:\\t\\*.* /SI /SO", "C:\\t\\*.* ", true, true, true},
      {"C:\\t\\*.*/SO/SI", "C:\\t\\*.*", true, true, true},
      {"C:\\t\\*.* /S/SO", "C:\\t\\*.* ", true, true, false},
      {"C:\\t\\*.* /X", "C:\\t\\*.* ", false, false, false},
      {"C:\\t\\*.* /", "C:\\t\\*.* ", false, false, false},
      {"C:\\t\\*.* /I /O", "C:\\t\\*.* ", false, false, false},
      {"C:\\t /S\\*.tmp", "C:\\t ", true, false, false},
      // After a '/' the search goes on past the character examined.
      {"C:\\t\\*.* //S", "C:\\t\\*.* ", false, false, false},
      {"C:\\t\\*.* //SI", "C:\\t\\*.* ", false, false, false},
      {"C:\\t\\*.* /x/SI", "C:\\t\\*.* ", true, false, true},
      {"C:\\t\\*.* /S//SO", "C:\\t\\*.* ", true, true, false},
      // A '/' straight after "/S" only ever narrows: never IncludeFolder.
      {"C:\\t\\*.* /S/SI", "C:\\t\\*.* ", true, false, false},
      {"C:\\t\\*.* /S/SI/SO", "C:\\t\\*.* ", true, true, false},
  };
  for (const Case& c : cases) {
    std::string text = c.entry;
    const SwitchSet s = StripSwitches(text);
    EXPECT_EQ(c.path, text) << c.entry;
    EXPECT_EQ(c.sub, s.subfolders) << c.entry;
    EXPECT_EQ(c.only, s.subfoldersOnly) << c.entry;
    EXPECT_EQ(c.include, s.includeFolder) << c.entry;
  }
}

TEST(ParseFilesEntry, SplitsFolderAndTrimmedMask) {
  struct Case { const char* path; const char* folder; const char* mask; bool sub; };
  const Case cases[] = {
      {"C:\\Temp\\*.tmp", "C:\\Temp\\", "*.tmp", false},
      {"C:\\Temp\\*.tmp /S", "C:\\Temp\\", "*.tmp", true},
      {"C:\\Temp\\ \t*.tmp\t  /SI", "C:\\Temp\\", "*.tmp", true},
      {"C:\\a\\b\\c.log", "C:\\a\\b\\", "c.log", false},
      {"\\\\srv\\share\\*.tmp", "\\\\srv\\share\\", "*.tmp", false},
      // Switch text before the mask: the last component before the '/' becomes the mask.
      {"C:\\Temp\\Cache /S\\*.tmp", "C:\\Temp\\", "Cache", true},
  };
  for (const Case& c : cases) {
    FilesEntry entry;
    ASSERT_TRUE(ParseFilesEntry(c.path, entry)) << c.path;
    EXPECT_EQ(c.folder, entry.folder) << c.path;
    EXPECT_EQ(c.mask, entry.mask) << c.path;
    EXPECT_EQ(c.sub, entry.switches.subfolders) << c.path;
  }
}

TEST(ParseFilesEntry, RefusesPathsWithoutFolderOrTooLong) {
  FilesEntry entry;
  // Relative folders depend on the current folder; an empty mask names no file; a name
  // and an equals sign stay part of the path and make it relative.
  const char* refused[] = {"temp\\*.*", "C:foo\\*.*", "\\*.* /S", "1:\\x\\*.*",
                           "\\\\srv\\*.*", "\\\\\\share\\*.*", "\\\\?\\C:\\x\\*.*", "\\\\.\\C:\\*.*",
                           "C:\\Temp\\", "C:\\Temp\\ \t /S", "Cache=C:\\Temp\\*.tmp",
                           // Segments the system reads as the folder itself or its parent.
                           "C:\\Users\\me\\AppData\\..\\..\\*.* /S", "C:\\.\\*.* /S", "C:\\a\\...\\*.*",
                           "C:\\a\\. \\*.*", "\\\\srv\\share\\..\\*.*", "C:\\a\\..",
                           "C:\\a\\\t\x1b. /S"};  // the mask "." once trimmed
  for (const char* path : refused) EXPECT_FALSE(ParseFilesEntry(path, entry)) << path;
  EXPECT_FALSE(ParseFilesEntry("*.tmp", entry));
  EXPECT_FALSE(ParseFilesEntry("*.tmp /S \\x", entry));  // the '\' is switch text
  EXPECT_FALSE(ParseFilesEntry("", entry));
  EXPECT_TRUE(ParseFilesEntry("C:\\a.b\\.x\\x..\\*.*", entry));  // dots inside names are names
  const std::string fits = "C:\\" + std::string(252, 'a') + "\\*.*";  // 259 characters
  EXPECT_TRUE(ParseFilesEntry(fits, entry));
  EXPECT_FALSE(ParseFilesEntry(fits + "x", entry));
}

TEST(ParseRegistryEntry, AcceptsHivesInAnyCaseAndKeepsTheValueNameWhole) {
  struct Case { const char* line; Hive hive; const char* key; bool hasValue; const char* value; };
  const Case cases[] = {
      {"HKEY_CURRENT_USER|Software\\A", Hive::kCurrentUser, "Software\\A", false, ""},
      {"hkey_current_user|Software\\A", Hive::kCurrentUser, "Software\\A", false, ""},
      {"Hkey_Local_Machine|Software\\B|V", Hive::kLocalMachine, "Software\\B", true, "V"},
      {"HKEY_USERS|.DEFAULT\\X|a|b|c", Hive::kUsers, ".DEFAULT\\X", true, "a|b|c"},
      {"HKEY_CLASSES_ROOT|.vkx|", Hive::kClassesRoot, ".vkx", true, ""},
      {"HKEY_CURRENT_USER||Top", Hive::kCurrentUser, "", true, "Top"},
  };
  for (const Case& c : cases) {
    RegistryEntry entry;
    ASSERT_TRUE(ParseRegistryEntry(c.line, entry)) << c.line;
    EXPECT_EQ(c.hive, entry.hive) << c.line;
    EXPECT_EQ(c.key, entry.keyPath) << c.line;
    EXPECT_EQ(c.hasValue, entry.hasValueName) << c.line;
    EXPECT_EQ(c.value, entry.valueName) << c.line;
  }
}

TEST(ParseRegistryEntry, RefusesUnknownHivesMissingBarsAndWholeHives) {
  const char* lines[] = {"HKEY_CURRENT_USER\\Software\\A", "HKCU|Software\\A",
                         "HKEY_CURRENT_CONFIG|System", " HKEY_CURRENT_USER|Software",
                         "HKEY_CURRENT_USER|", "HKEY_LOCAL_MACHINE|\\", "", "|Software"};
  for (const char* line : lines) {
    RegistryEntry entry;
    EXPECT_FALSE(ParseRegistryEntry(line, entry)) << line;
  }
}

TEST(SplitMacro, TakesTheFirstTokenOnly) {
  struct Case { const char* line; bool ok; const char* token; const char* rest; };
  const Case cases[] = {
      {"%windir%\\*.tmp", true, "%windir%", "\\*.tmp"},
      {"%DRIVE%Temp\\%x%\\*.*", true, "%DRIVE%", "Temp\\%x%\\*.*"},
      {"%windir\\*.tmp", false, "", ""},
      {"%", false, "", ""},
      {"%%x", true, "%%", "x"},
      {"", false, "", ""},
  };
  for (const Case& c : cases) {
    std::string token, rest;
    EXPECT_EQ(c.ok, SplitMacro(c.line, token, rest)) << c.line;
    if (!c.ok) continue;
    EXPECT_EQ(c.token, token) << c.line;
    EXPECT_EQ(c.rest, rest) << c.line;
  }
}

TEST(MatchesMask, UsesLongNameRules) {
  struct Case { const char* name; const char* mask; bool matches; };
  const Case cases[] = {
      {"a.tmp", "*.tmp", true},       {"A.TMP", "*.tmp", true},         {"a.tmp", "*.TMP", true},
      {"report.tmpl", "*.tmp", false}, {"a.tmp.bak", "*.tmp", false},   {"x.tmp.tmp", "*.tmp", true},
      {"noext", "*.*", true},         {"a.b.c", "*.*", true},           {"noext", "noext.", true},
      {"noext", "*.", true},          {"a.txt", "*.", false},           {"a", "?", true},
      {"ab", "?", false},             {"", "?", false},                 {"abc", "a?c", true},
      {"abc", "a*c", true},           {"abc", "a*b", false},            {"aXbYc", "a*b*c", true},
      {"thumbcache_32.db", "thumbcache_*.db", true}, {"thumbcache.db", "thumbcache_*.db", false},
      {"x", "", false},               {"abc", "***", true},             {"abc", "abc**.*", true},
      {"REPORT~1.TMP", "report~1.tmp", true},
  };
  const CaseFold fold = AsciiCaseFold();
  for (const Case& c : cases) EXPECT_EQ(c.matches, MatchesMask(c.name, c.mask, fold)) << c.name << " " << c.mask;
}

TEST(Attributes, FilesAndWalkedFolders) {
  EXPECT_TRUE(IsMatchingFile(0x20));     // archive
  EXPECT_TRUE(IsMatchingFile(0x2 | 0x1));  // hidden, read-only
  EXPECT_TRUE(IsMatchingFile(0x80));
  EXPECT_FALSE(IsMatchingFile(0x10));    // directory
  EXPECT_FALSE(IsMatchingFile(0x4));     // system
  EXPECT_FALSE(IsMatchingFile(0x1000));  // offline
  EXPECT_FALSE(IsMatchingFile(0x1020));
  EXPECT_TRUE(IsWalkedFolder(0x10, "sub"));
  EXPECT_TRUE(IsWalkedFolder(0x12, "..x"));
  EXPECT_FALSE(IsWalkedFolder(0x10, "."));
  EXPECT_FALSE(IsWalkedFolder(0x10, ".."));
  EXPECT_FALSE(IsWalkedFolder(0x410, "junction"));
  EXPECT_FALSE(IsWalkedFolder(0x20, "file"));
}

TEST(PutName, WritesOnlyWhatFitsWithItsTerminator) {
  char buffer[kPathBufferSize];
  std::memset(buffer, 'x', sizeof buffer);
  const std::string folder(250, 'f');
  std::memcpy(buffer, folder.c_str(), folder.size() + 1);
  EXPECT_EQ(255u, PutName(buffer, 250, "abcd", 4, true));
  EXPECT_EQ(std::string(250, 'f') + "abcd\\", buffer);
  EXPECT_EQ(259u, PutName(buffer, 250, "123456789", 9, false));
  EXPECT_EQ(0, buffer[259]);
  EXPECT_EQ(0u, PutName(buffer, 250, "123456789", 9, true));  // 260 characters: too long
  EXPECT_EQ(0u, PutName(buffer, 250, "1234567890", 10, false));
  EXPECT_EQ(std::string(250, 'f') + "123456789", buffer);  // unchanged
}

}  // namespace
