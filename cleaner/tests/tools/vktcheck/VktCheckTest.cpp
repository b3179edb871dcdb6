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

TEST(VktCheck, FlagsWildcardsBelowKnownFoldersAndPastTheirLimits) {
  vktcheck::Folders folders{"", "", "C:\\users\\ann", {"C:\\users\\ann\\Local"}, ""};
  using wildcards::Outcome;
  struct Case { const char* path; Outcome outcome; bool truncated; const char* kinds; };
  const Case cases[] = {{"C:\\users\\ann\\Local\\Packages\\App_*\\Cache\\*.*", Outcome::kExpanded, false, ""},
                        {"C:\\users\\ann\\Local\\*\\Cache\\*.* /S", Outcome::kExpanded, false, "W"},
                        {"C:\\*\\x\\*.*", Outcome::kExpanded, false, "W"},
                        {"C:\\users\\ann\\Local\\Temp\\????*\\*.* /SI", Outcome::kExpanded, true, "W"},
                        {"C:\\a\\*\\*\\*\\*.*", Outcome::kTooManyWildcards, false, "N"}};
  for (const Case& c : cases)
    EXPECT_EQ(c.kinds, Kinds(vktcheck::CheckWildcardPath(c.path, {c.outcome, c.truncated}, folders))) << c.path;
}

// Judged as the system resolves the path: every spelling of a wide folder is wide.
TEST(VktCheck, FlagsEverySpellingOfAWideFolder) {
  vktcheck::Folders folders;
  folders.windows = "C:\\windows";
  folders.system = "C:\\windows\\system32";
  folders.profile = "C:\\users\\ann";
  folders.known = {"C:\\users\\ann\\AppData\\Roaming", "C:\\users\\ann\\AppData\\Local",
                   "C:\\Program Files", "C:\\Program Files (x86)"};
  folders.computer = "BOX";
  const char* const wide[] = {
      "C:\\windows\\..\\*.* /S",                         // %windir%\..
      "C:\\\\*.* /S",
      "C:\\.\\*.* /S",
      "C:\\Windows.\\*.* /S",
      "C:\\Windows \\*.tmp",
      "C:\\users\\ann\\AppData\\Roaming\\** /S",        // %appdata%\**
      "C:\\users\\ann\\AppData\\Roaming\\?* /S",
      "C:\\users\\ann\\AppData\\*.log /S",              // above known folders
      "C:\\windows\\system32\\config\\*.* /S",            // %sysdir%\config
      "C:\\windows\\SysWOW64\\*.* /S",
      "C:\\PROGRA~1\\*.* /S",
      "\\\\localhost\\C$\\Windows\\*.* /S",
      "\\\\127.0.0.1\\c$\\windows\\*.tmp",
      "\\\\box\\C$\\users\\ann\\*.log",
      "\\\\localhost\\C$\\*.tmp",
      "C:\\users\\bob\\*.log",                           // another user's profile root
  };
  for (const char* path : wide) {
    textentries::FilesEntry entry;
    bool usable = false;
    const std::string kinds = Kinds(vktcheck::CheckExpandedPath(path, folders, entry, usable));
    EXPECT_NE(std::string::npos, kinds.find('W')) << path;
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
      // As the registry resolves them.
      {"HKEY_CURRENT_USER|Software\\\\Microsoft", true, "W"},
      {"HKEY_LOCAL_MACHINE|SYSTEM\\CurrentControlSet\\Services", true, "W"},
      {"HKEY_USERS|.DEFAULT\\Software\\Microsoft", true, "W"},
      {"HKEY_USERS|S-1-5-21-1\\Software\\Vendor\\App", true, ""},
      {"HKEY_LOCAL_MACHINE|Software\\Wow6432Node\\Vendor", true, "W"},
      {"HKEY_CURRENT_USER|Software\\Microsoft\\Windows\\CurrentVersion", true, "W"},  // holds Run
      {"HKEY_CURRENT_USER|Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs", true, ""},
      {"HKEY_CLASSES_ROOT|CLSID\\{00000000-0000-0000-0000-000000000001}", true, ""},
      {"HKEY_CLASSES_ROOT|CLSID", true, "W"},
      {"HKEY_CLASSES_ROOT|.txt", true, "W"},
      {"HKEY_CURRENT_USER|Software\\Classes\\txtfile", true, "W"},
  };
  for (const Case& c : cases) {
    textentries::RegistryEntry entry;
    bool usable = !c.usable;
    EXPECT_EQ(c.kinds, Kinds(vktcheck::CheckRegistryLine(c.line, entry, usable))) << c.line;
    EXPECT_EQ(c.usable, usable) << c.line;
  }
}

}  // namespace
