// The standard plug-in's decisions without Windows: settings folder, temporary folder
// rules, file and cache entry kinds, the protected list block and May delete.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "plugins/standard/Rules.h"

namespace orvane {
namespace {

TEST(Rules, SettingsFolderIsTheProgramsOwnFolder) {
  struct Case { const char* program; const char* folder; };
  const Case cases[] = {
      {"C:\\Program Files\\Varnick\\morvel.exe", "C:\\Program Files\\Varnick\\"},
      {"\\\\srv\\tools\\morvel.exe", "\\\\srv\\tools\\"},
      {"morvel.exe", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.folder, SettingsFolder(c.program)) << c.program;
}

TEST(Rules, LeadingNumberTakesTheDigitsBeforeAnythingElse) {
  struct Case { const char* text; int value; };
  const Case cases[] = {{"2", 2},          {"14 days", 14},        {"abc", 0},
                        {"", 0},           {"-3", -3},             {"+7", 7},
                        {"-", 0},          {" 5", 0},              {"99999999999999", 2147483647},
                        {"-99999999999", -2147483647 - 1}};
  for (const Case& c : cases) EXPECT_EQ(c.value, LeadingNumber(c.text)) << c.text;
}

TEST(Rules, TempDescriptionIsCutToTheField) {
  EXPECT_EQ(117u, std::strlen(kTempDescriptionText));
  EXPECT_EQ(std::string(kTempDescriptionText) + "C:\\TEMP'", TempItemDescription("C:\\TEMP"));
  const std::string fits(139, 'a');
  EXPECT_EQ(257u, TempItemDescription(fits).size());
  EXPECT_EQ('\'', TempItemDescription(fits).back());
  const std::string longer(200, 'b');
  EXPECT_EQ(257u, TempItemDescription(longer).size());
  EXPECT_EQ('b', TempItemDescription(longer).back());
}

TEST(Rules, TempFolderAcceptance) {
  struct Case { const char* temp; bool accepted; };
  const Case cases[] = {
      {"C:\\USERS\\ME\\TEMP", true},
      {"C:\\WINDOWS\\TEMP", false},        // everything in the Windows folder
      {"C:\\WINDOWS", false},                  // the Windows folder itself
      {"C:\\WINDOWS\\SYSTEM32", false},        // the system folder
      {"C:\\WINDOWS\\SYSTEM32\\TEMP", false},  // below it
      {"D:\\X\\C:\\WINDOWS\\SYSTEM32", false}, // anywhere in the text
      {"C:\\", false},                         // a drive root
      {"C:\\A", true},
      {"", false},
      // Judged as the system resolves them: roots, the Windows folder and its parents.
      {"C:\\\\", false},
      {"C:\\.", false},
      {"C:\\ ", false},
      {"C:/", false},
      {"\\\\SRV\\SHARE", false},
      {"\\\\SRV\\SHARE\\.\\", false},
      {"\\\\?\\C:\\", false},
      {"\\\\?\\UNC\\SRV\\SHARE\\", false},
      {"\\\\.\\PHYSICALDRIVE0", false},
      {"C:\\WINDOWS\\", false},
      {"C:\\WINDOWS\\.", false},
      {"C:\\WINDOWS. \\", false},
      {"C:\\WINDOWS\\TEMP\\..", false},
      {"C:\\WINDOWS\\SYSTEM32.\\X", false},
      {"\\\\SRV\\SHARE\\TEMP", true},
      {"\\\\?\\C:\\USERS\\ME\\TEMP\\", true},
      {"C:\\USERS\\ME\\TEMP\\ ", true},
  };
  SystemFolders folders;
  folders.windows = "C:\\Windows";
  folders.system = "C:\\Windows\\System32";
  for (const Case& c : cases) EXPECT_EQ(c.accepted, TempRootAccepted(c.temp, folders)) << c.temp;
}

// The final paths that a temporary folder given through an alias resolves to, and the
// folders the system keeps, each refused with everything above it.
TEST(Rules, TempRootRefusesTheSystemsFoldersWhateverTheirName) {
  SystemFolders folders;
  folders.windows = "C:\\Windows";
  folders.system = "C:\\Windows\\System32";
  folders.users = "C:\\Users";
  folders.profiles = {"C:\\Users\\ann", "D:\\Profiles\\bob"};
  folders.kept = {"C:\\ProgramData", "C:\\Program Files", "C:\\Program Files (x86)"};
  struct Case { const char* finalPath; bool accepted; };
  const Case cases[] = {
      {"\\\\?\\C:\\Users\\ann\\AppData\\Local\\Temp", true},
      {"\\\\?\\D:\\Profiles\\bob\\Temp", true},
      {"\\\\?\\C:\\ProgramData\\App\\Temp", true},
      {"\\\\?\\C:\\windows\\system32\\x", false},   // Sysnative\x, System32\x
      {"\\\\?\\C:\\windows\\SysWOW64\\x", false},
      {"\\\\?\\C:\\WINDOWS\\Fonts", false},          // a junction, a mapped drive
      {"\\\\?\\UNC\\LOCALHOST\\C$", false},           // a share root
      {"\\\\?\\UNC\\srv\\share\\temp", true},
      {"\\\\?\\C:\\Users", false},
      {"\\\\?\\C:\\Users\\ann", false},
      {"\\\\?\\C:\\Users\\Public", false},            // any profile root
      {"\\\\?\\C:\\Users\\ann\\AppData", false},
      {"\\\\?\\C:\\Users\\ann\\AppData\\Local", false},
      {"\\\\?\\C:\\Users\\zed\\AppData\\Roaming", false},
      {"\\\\?\\D:\\Profiles\\bob", false},
      {"\\\\?\\D:\\Profiles", false},                  // above a profile
      {"\\\\?\\C:\\ProgramData", false},
      {"\\\\?\\C:\\Program Files", false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.accepted, TempRootAccepted(c.finalPath, folders)) << c.finalPath;
}


TEST(Rules, CanonicalFolderResolvesAsTheSystemDoes) {
  struct Case { const char* path; const char* canonical; };
  const Case cases[] = {
      {"C:\\", "C:"}, {"c:\\Temp\\", "c:\\Temp"}, {"C:\\a\\.\\b\\..\\c. \\", "C:\\a\\c"},
      {"C:\\..\\..", "C:"}, {"C:/a//b", "C:\\a\\b"}, {"\\\\?\\UNC\\s\\h\\x", "\\\\s\\h\\x"},
      {"\\\\s\\h\\..", "\\\\s\\h"}, {"C:x", ""}, {"x\\y", ""}, {"\\\\s", ""}, {"\\\\\\h", ""},
      {"\\\\?\\?\\x", ""}, {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.canonical, CanonicalFolder(c.path)) << c.path;
}

TEST(Rules, MatchingFilesExcludeDirectoriesSystemAndOffline) {
  struct Case { std::uint32_t attributes; bool matching; };
  const Case cases[] = {{0x0, true},   {0x1, true},  {0x2, true},     {0x20, true},
                        {0x80, true},  {0x4, false}, {0x10, false},   {0x1000, false},
                        {0x23, true},  {0x6, false}, {0x1020, false}, {0x400, true}};
  for (const Case& c : cases) EXPECT_EQ(c.matching, IsMatchingFile(c.attributes)) << c.attributes;
}

TEST(Rules, WriteAtNeverPassesThePathBuffer) {
  char path[kPathSize];
  std::memset(path, '#', sizeof path);
  ASSERT_TRUE(WriteAt(path, 0, "C:\\T", "\\*.*"));
  EXPECT_STREQ("C:\\T\\*.*", path);
  ASSERT_TRUE(WriteAt(path, 5, "sub", "\\*.*"));
  EXPECT_STREQ("C:\\T\\sub\\*.*", path);
  const std::string name(251, 'n');
  EXPECT_TRUE(WriteAt(path, 5, name.c_str(), ""));        // 5 + 251 + NUL fits
  EXPECT_FALSE(WriteAt(path, 5, name.c_str(), "\\*.*"));  // 5 + 255 + NUL would not
  EXPECT_EQ(std::string(name), std::string(path + 5));
  EXPECT_FALSE(WriteAt(path, 10, name.c_str(), ""));
  EXPECT_FALSE(WriteAt(path, kPathSize, "", ""));
}

TEST(Rules, CacheEntriesCountIntoTheirItems) {
  CacheCounts older;
  CountCacheEntry(older, 0x1, 100, false);          // ordinary
  CountCacheEntry(older, kCookieEntry | 0x1, 30, false);
  CountCacheEntry(older, kHistoryEntry, 7, false);
  CountCacheEntry(older, kHistoryEntry, 8, false);
  EXPECT_EQ(100, older.ordinary.size);
  EXPECT_EQ(1, older.ordinary.count);
  EXPECT_EQ(30, older.cookies.size);
  EXPECT_EQ(1, older.cookies.count);
  EXPECT_EQ(15, older.history.size);
  EXPECT_EQ(2, older.history.count);

  CacheCounts newer;
  CountCacheEntry(newer, kHistoryEntry, 7, true);
  CountCacheEntry(newer, 0, 5000000000LL, true);
  EXPECT_EQ(0, newer.history.size);
  EXPECT_EQ(1, newer.history.count);
  EXPECT_EQ(5000000000LL, newer.ordinary.size);
}

std::vector<char> Block() { return std::vector<char>(1, '\0'); }

TEST(ProtectedBlock, StoredValuesEndAtMinusOne) {
  std::vector<char> block = Block();
  ProtectedListBuilder builder(block);
  using R = ProtectedListBuilder::Result;
  EXPECT_EQ(R::Appended, builder.AddStored("Cookie:a@x/"));
  EXPECT_EQ(R::Appended, builder.AddStored("Cookie:b@y/"));
  EXPECT_EQ(R::End, builder.AddStored("-1"));
  EXPECT_EQ(std::vector<std::string>({"Cookie:a@x/", "Cookie:b@y/"}), ProtectedNames(block.data()));
  std::vector<char> other = Block();
  ProtectedListBuilder second(other);
  EXPECT_EQ(R::Appended, second.AddStored("-10"));
  EXPECT_EQ(R::End, second.AddStored("-1"));
}

TEST(ProtectedBlock, TheCookiePageWritesNoShorterListThanItRead) {
  using Names = std::vector<std::string>;
  struct Case { Names shown, read, removed, written; };
  const Case cases[] = {
      {{"a", "b"}, {"a", "b"}, {}, {"a", "b"}},
      {{"a"}, {"a", "b"}, {"b"}, {"a"}},                 // the user moved b out
      {{"a"}, {"a", "b", "c"}, {}, {"a", "b", "c"}},     // the page lost b and c
      {{"a", "n"}, {"a"}, {}, {"a", "n"}},               // the user added n
      {{"a", "b"}, {"a", "b"}, {"b"}, {"a", "b"}},       // b moved out and back
      {{"a", ""}, {"a", "b"}, {}, {"a", "", "b"}},       // a name the page could not read
  };
  for (const Case& c : cases) EXPECT_EQ(c.written, NamesToWrite(c.shown, c.read, c.removed));
}

TEST(ProtectedBlock, ProtectionIsByteExact) {
  std::vector<char> block = Block();
  ProtectedListBuilder builder(block);
  builder.Add("Cookie:me@example.com/");
  builder.Add("Cookie:me@shop/");
  EXPECT_TRUE(IsProtected(block.data(), "Cookie:me@shop/"));
  EXPECT_FALSE(IsProtected(block.data(), "Cookie:me@Shop/"));
  EXPECT_FALSE(IsProtected(block.data(), "Cookie:me@shop"));
  EXPECT_FALSE(IsProtected(block.data(), ""));
  EXPECT_FALSE(IsProtected(nullptr, "Cookie:me@shop/"));
}

TEST(ProtectedBlock, MayDeleteCountsWholeDays) {
  const unsigned long long now = 133000000000000000ULL;
  const unsigned long long hour = kFileTimeDay / 24;
  std::vector<char> block = Block();
  ProtectedListBuilder(block).Add("Cookie:kept@x/");
  struct Case { const char* name; int days; unsigned long long age; bool mayDelete; };
  const Case cases[] = {
      {"Cookie:a@x/", 2, 47 * hour, false},
      {"Cookie:a@x/", 2, 48 * hour, true},
      {"Cookie:a@x/", 1, 23 * hour, false},
      {"Cookie:a@x/", 1, 24 * hour, true},
      {"Cookie:a@x/", 0, 0, true},
      {"Cookie:a@x/", -5, 0, true},
      {"Cookie:kept@x/", 0, 1000 * hour, false},
      {"Cookie:KEPT@x/", 0, 1000 * hour, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.mayDelete, MayDelete(block.data(), c.name, c.days, now, now - c.age))
        << c.name << " " << c.days << " " << c.age / hour;
  }
  // Used "in the future" (a clock set back): recent, so kept while days are kept.
  EXPECT_FALSE(MayDelete(block.data(), "Cookie:a@x/", 1, now, now + 100 * hour));
  EXPECT_TRUE(MayDelete(nullptr, "Cookie:a@x/", 0, now, 0));
}

}  // namespace
}  // namespace orvane
