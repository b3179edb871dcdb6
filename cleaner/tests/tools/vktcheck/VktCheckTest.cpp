#include "cleaner/tools/vktcheck/VktCheck.h"

#include <gtest/gtest.h>

namespace {

using vktcheck::Severity;

// "N" for each finding that says a line does nothing, "W" for each that it reaches wide.
std::string Kinds(const std::vector<vktcheck::Finding>& findings) {
  std::string kinds;
  for (const vktcheck::Finding& f : findings) kinds += f.severity == Severity::kWide ? 'W' : 'N';
  return kinds;
}

TEST(VktCheck, FlagsFilesLinesThatDoNothingAsWritten) {
  struct Case { const char* line; const char* kinds; };
  const Case cases[] = {
      {"%appdata%\\App\\Cache\\*.* /S", ""},
      {"Cache=%appdata%\\App\\Cache\\*.*", "N"},   // name and '=' before the path
      {"C:\\a=b\\*.tmp", ""},                      // an '=' inside a folder name is fine
      {"*.tmp /S", "N"},                           // no backslash
      {"%appdata%\\App /S \\*.tmp", "N"},          // switch before the mask
      {"nothing", "N"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.kinds, Kinds(vktcheck::CheckFilesLine(c.line))) << c.line;
}

TEST(VktCheck, FlagsExpandedPathsByWhereTheyReach) {
  vktcheck::Folders folders;
  folders.windows = "C:\\windows";
  folders.system = "C:\\windows\\system32";
  folders.profile = "C:\\users\\ann";
  folders.known = {"C:\\users\\ann\\AppData\\Roaming", "C:\\users\\ann\\AppData\\Local"};
  struct Case { const char* path; bool usable; const char* kinds; };
  const Case cases[] = {
      {"C:\\users\\ann\\AppData\\Local\\App\\Cache\\*.* /S", true, ""},
      {"C:\\users\\ann\\AppData\\Local\\*.* /S", true, "W"},
      {"C:\\users\\ann\\AppData\\LOCAL\\*.tmp /S", true, ""},  // one extension only
      {"C:\\users\\ann\\AppData\\Local\\* /SO", true, "W"},
      {"C:\\users\\ann\\AppData\\Local\\*.*", true, ""},       // no subfolders
      {"C:\\*.tmp", true, "W"},
      {"\\\\server\\share\\*.log", true, "W"},
      {"C:\\users\\ann\\*.log", true, "W"},
      {"C:\\users\\*.log", true, "W"},
      {"C:\\Windows\\*.tmp", true, "W"},
      {"C:\\windows\\system32\\*.log", true, "W"},
      {"C:\\windows\\Temp\\*.tmp", true, ""},
      {"App\\Cache\\*.*", false, "N"},                         // relative
      {"C:\\App\\", false, "N"},                               // no mask
  };
  for (const Case& c : cases) {
    textentries::FilesEntry entry;
    bool usable = !c.usable;
    EXPECT_EQ(c.kinds, Kinds(vktcheck::CheckExpandedPath(c.path, folders, entry, usable))) << c.path;
    EXPECT_EQ(c.usable, usable) << c.path;
  }
}

TEST(VktCheck, FlagsRegistryLines) {
  struct Case { const char* line; bool usable; const char* kinds; };
  const Case cases[] = {
      {"HKEY_CURRENT_USER|Software\\Vendor\\App\\Recent", true, ""},
      {"HKEY_CURRENT_USER|Software\\Vendor|Last=1", true, ""},   // a value: never wide
      {"HKEY_CURRENT_USER|Software\\Vendor", true, "W"},
      {"hkey_local_machine|Software", true, "W"},
      {"HKEY_USERS|.DEFAULT\\", true, "W"},
      {"HKEY_CURRENT_USER|", false, "N"},                       // the whole hive: refused
      {"HKCU|Software\\Vendor\\App", false, "N"},
      {"Recent=HKEY_CURRENT_USER|Software\\Vendor\\App", false, "NN"},
      {"HKEY_CURRENT_USER\\Software\\Vendor\\App", false, "N"},
  };
  for (const Case& c : cases) {
    textentries::RegistryEntry entry;
    bool usable = !c.usable;
    EXPECT_EQ(c.kinds, Kinds(vktcheck::CheckRegistryLine(c.line, entry, usable))) << c.line;
    EXPECT_EQ(c.usable, usable) << c.line;
  }
}

}  // namespace
