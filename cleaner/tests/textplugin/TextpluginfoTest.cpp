// Text plug-in files read, counted and cleaned for real: .vkt files and fixture trees in a
// temporary folder, registry entries in a scratch key, icons from icon files.
#include "cleaner/textplugin/Textpluginfo.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "cleaner/host/BinaryPlugins.h"
#include "cleaner/host/ItemList.h"
#include "cleaner/tests/textplugin/TextPluginFixtures.h"
#include "cleaner/textplugin/TextEntries.h"

namespace {

using harness::FileExists;
using harness::WriteTextFile;

// A 16 x 16 icon of 32 bits per pixel.
std::string IconBytes() {
  std::string b;
  auto u16 = [&b](std::uint16_t v) {
    b.push_back(static_cast<char>(v & 0xff));
    b.push_back(static_cast<char>(v >> 8));
  };
  auto u32 = [&u16](std::uint32_t v) {
    u16(static_cast<std::uint16_t>(v & 0xffff));
    u16(static_cast<std::uint16_t>(v >> 16));
  };
  const std::uint32_t imageSize = 40 + 16 * 16 * 4 + 16 * 4;
  u16(0), u16(1), u16(1);                            // icon directory, one image
  b += std::string("\x10\x10\x00\x00", 4);           // 16 x 16, no palette
  u16(1), u16(32), u32(imageSize), u32(6 + 16);      // planes, bits, size, offset
  u32(40), u32(16), u32(32), u16(1), u16(32);        // bitmap header: height doubled
  u32(0), u32(16 * 16 * 4), u32(0), u32(0), u32(0), u32(0);
  for (int i = 0; i < 16 * 16; ++i) u32(0xff2080c0);  // opaque pixels
  b += std::string(16 * 4, '\0');                     // AND mask
  return b;
}

class TextPlugin : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder_ / name; }
  std::string Plugin(const std::string& name, const std::string& text) {
    const std::string path = Path(name);
    WriteTextFile(path, text);
    return path;
  }
  harness::TempFolder folder_;
};

TEST_F(TextPlugin, AMissingFileGivesTheDefaultTextsAndNothingToClean) {
  TextPlugInfo item(Path("missing.vkt"));
  EXPECT_STREQ("Error reading title", item.GetTitle());
  EXPECT_STREQ("Error reading description", item.GetDescription());
  EXPECT_EQ(nullptr, item.GetIcon());
  EXPECT_FALSE(item.CanConfigure());
  item.Prepare();
  item.Configure();
  EXPECT_EQ(0, item.GetCountFound());
  EXPECT_EQ(0, item.GetSizeFound());
  EXPECT_TRUE(item.expandedPaths().empty());
}

TEST_F(TextPlugin, ReadsInfoAndLoadsEachIconFileOnce) {
  WriteTextFile(Path("tool.ico"), IconBytes());
  const std::string a = Plugin("a.vkt", "[Info]\r\nTitle=Alpha cleaner\r\nDescription=Cleans alpha\r\nIcon=tool.ico\r\n");
  const std::string b = Plugin("b.vkt", "[info]\r\ntitle=Beta\r\nICON=TOOL.ICO\r\n");
  const std::string c = Plugin("c.vkt", "[Info]\r\nIcon=later.ico\r\n");
  TextPlugInfo alpha(a), beta(b), gamma(c);
  EXPECT_STREQ("Alpha cleaner", alpha.GetTitle());
  EXPECT_STREQ("Cleans alpha", alpha.GetDescription());
  EXPECT_STREQ("Beta", beta.GetTitle());
  EXPECT_STREQ("Error reading description", beta.GetDescription());
  ASSERT_NE(nullptr, alpha.GetIcon());
  EXPECT_EQ(alpha.GetIcon(), beta.GetIcon());
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(alpha.GetIcon(), &info));
  BITMAP bitmap{};
  GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  EXPECT_EQ(16, bitmap.bmWidth);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  // A file that could not be loaded is not remembered: a later plug-in tries again.
  EXPECT_EQ(nullptr, gamma.GetIcon());
  WriteTextFile(Path("later.ico"), IconBytes());
  TextPlugInfo again(c);
  EXPECT_NE(nullptr, again.GetIcon());
  EXPECT_NE(alpha.GetIcon(), again.GetIcon());
}

TEST_F(TextPlugin, CountsAndCleansRegistryEntriesAndFiles) {
  fixtures::ScratchRegistry registry;
  ASSERT_TRUE(registry.ok());
  ASSERT_TRUE(fixtures::SetBinary(HKEY_CURRENT_USER, "Soft\\App\\Sub", "a", 3));
  ASSERT_TRUE(fixtures::SetBinary(HKEY_CURRENT_USER, "Soft\\App", "b", 4));
  ASSERT_TRUE(fixtures::SetBinary(HKEY_CURRENT_USER, "Soft\\Other", "v|x", 5));
  ASSERT_TRUE(fixtures::SetBinary(HKEY_CURRENT_USER, "Soft\\Other", "w", 6));
  ASSERT_TRUE(fixtures::SetBinary(HKEY_CURRENT_USER, "Soft\\Kept", "k", 7));
  const std::string tree = Path("tree\\");
  ASSERT_TRUE(fixtures::MakeFile(tree + "a.tmp", 100));
  ASSERT_TRUE(fixtures::MakeFile(tree + "sub\\b.tmp", 200));
  ASSERT_TRUE(fixtures::MakeFile(tree + "c.log", 400));
  ASSERT_TRUE(fixtures::MakeFile(tree + "sub\\d.dat", 800));
  const std::string file = Plugin(
      "test.vkt",
      "[Info]\r\nTitle=Test\r\n[registry]\r\nHKEY_CURRENT_USER|Soft\\App\r\n"
      "hkey_current_user|Soft\\Other|v|x\r\nHKCU|Soft\\Kept\r\nHKEY_CURRENT_USER\\Soft\\Kept\r\n"
      "HKEY_CURRENT_USER|\r\n"
      "[files]\r\n" + tree + "*.tmp /S\r\nName=" + tree + "*.log\r\n*.log\r\n%nosuchmacro%\\*.*\r\n" +
      tree + "sub\\*.dat\r\n");
  TextPlugInfo item(file);
  item.Prepare();
  EXPECT_EQ(std::vector<std::string>({tree + "*.tmp /S", "Name=" + tree + "*.log", "*.log", tree + "sub\\*.dat"}),
            item.expandedPaths());
  EXPECT_EQ(3 + 3, item.GetCountFound());
  EXPECT_EQ(3 + 4 + 5 + 100 + 200 + 800, item.GetSizeFound());
  EXPECT_EQ(0, item.GetCountCleaned());

  // The registry section is read again when cleaning, and deletes what the count saw of
  // its entries: an entry the count never saw deletes nothing. The files section is not
  // read again.
  WriteTextFile(file, "[Info]\r\nTitle=Test\r\n[registry]\r\nHKEY_CURRENT_USER|Soft\\App\r\n"
                      "HKEY_CURRENT_USER|Soft\\Other|v|x\r\nHKEY_CURRENT_USER|Soft\\Other|w\r\n"
                      "[files]\r\n" + tree + "*.log\r\n");
  item.Clean();
  EXPECT_EQ(3 + 3, item.GetCountCleaned());
  EXPECT_EQ(3 + 4 + 5 + 100 + 200 + 800, item.GetSizeCleaned());
  EXPECT_EQ(6, item.GetCountFound());
  EXPECT_FALSE(fixtures::KeyExists(HKEY_CURRENT_USER, "Soft\\App"));
  EXPECT_FALSE(fixtures::ValueExists(HKEY_CURRENT_USER, "Soft\\Other", "v|x"));
  EXPECT_TRUE(fixtures::ValueExists(HKEY_CURRENT_USER, "Soft\\Other", "w"));
  EXPECT_TRUE(fixtures::KeyExists(HKEY_CURRENT_USER, "Soft\\Other"));
  EXPECT_TRUE(fixtures::ValueExists(HKEY_CURRENT_USER, "Soft\\Kept", "k"));
  EXPECT_FALSE(FileExists(tree + "a.tmp"));
  EXPECT_FALSE(FileExists(tree + "sub\\b.tmp"));
  EXPECT_FALSE(FileExists(tree + "sub\\d.dat"));
  EXPECT_TRUE(FileExists(tree + "c.log"));
  // Entries run in their order: the /S entry found sub\ still holding d.dat.
  EXPECT_TRUE(FileExists(tree + "sub"));
}

TEST_F(TextPlugin, ASectionCutByItsBufferLosesOnlyWholeLines) {
  std::string text = "[files]\r\n";
  std::vector<std::string> lines;
  for (int i = 0; text.size() < 40000; ++i) {
    lines.push_back("C:\\vk-nowhere\\folder" + std::to_string(100000 + i) + "\\*.tmp");
    text += lines.back() + "\r\n";
  }
  TextPlugInfo item(Plugin("long.vkt", text));
  item.Prepare();
  const std::vector<std::string>& paths = item.expandedPaths();
  ASSERT_FALSE(paths.empty());
  EXPECT_LT(paths.size(), lines.size());
  for (std::size_t i = 0; i < paths.size(); ++i) ASSERT_EQ(lines[i], paths[i]) << i;
}

TEST_F(TextPlugin, FoldersThatDependOnTheCurrentFolderAreDropped) {
  ASSERT_TRUE(fixtures::MakeFile(Path("temp\\a.tmp"), 5));
  char saved[MAX_PATH];
  ASSERT_NE(0u, GetCurrentDirectoryA(MAX_PATH, saved));
  ASSERT_TRUE(SetCurrentDirectoryA(folder_.path().c_str()));
  SetEnvironmentVariableA("VKTESTEMPTY", "");
  const std::string rootRelative = Path("temp\\*.tmp").substr(2);  // "\...\temp\*.tmp"
  TextPlugInfo item(Plugin("relative.vkt", "[files]\r\ntemp\\*.tmp\r\n" + Path("").substr(0, 2) +
                                               "temp\\*.tmp\r\n" + rootRelative + "\r\n%VKTESTEMPTY%" +
                                               rootRelative + "\r\n" + Path("temp\\") + "\r\n"));
  item.Prepare();
  item.Clean();
  SetCurrentDirectoryA(saved);
  SetEnvironmentVariableA("VKTESTEMPTY", nullptr);
  EXPECT_EQ(0, item.GetCountFound());
  EXPECT_EQ(0, item.GetCountCleaned());
  EXPECT_TRUE(FileExists(Path("temp\\a.tmp")));
}

TEST_F(TextPlugin, SwitchesComeFromTheLineAsWrittenNeverFromAnExpansion) {
  // "<folder>\keep/S\cache\*.*" once read as folder <folder>, mask "keep" and /S.
  ASSERT_TRUE(fixtures::MakeFile(Path("keep"), 3));
  ASSERT_TRUE(fixtures::MakeFile(Path("sub\\keep"), 4));
  ASSERT_TRUE(fixtures::MakeFile(Path("data\\x.tmp"), 6));
  SetEnvironmentVariableA("VKTESTSLASH", (Path("keep") + "/S").c_str());
  SetEnvironmentVariableA("VKTESTDATA", Path("data").c_str());
  TextPlugInfo item(Plugin("slash.vkt", "[files]\r\n%VKTESTSLASH%\\cache\\*.*\r\n%VKTESTDATA%\\*.tmp /SI\r\n"));
  item.Prepare();
  SetEnvironmentVariableA("VKTESTSLASH", nullptr);
  SetEnvironmentVariableA("VKTESTDATA", nullptr);
  EXPECT_EQ(std::vector<std::string>({Path("data\\*.tmp /SI")}), item.expandedPaths());
  EXPECT_EQ(1, item.GetCountFound());
  item.Clean();
  EXPECT_EQ(6, item.GetSizeCleaned());
  EXPECT_TRUE(FileExists(Path("keep")));
  EXPECT_TRUE(FileExists(Path("sub\\keep")));
  EXPECT_FALSE(FileExists(Path("data")));
}

class Macros : public TextPlugin {
 protected:
  static std::vector<std::string> Expand(const std::string& line) {
    std::vector<std::string> paths;
    macros::ExpandEntry(line, paths);
    return paths;
  }
  static std::string Windows() {
    char path[MAX_PATH];
    return std::string(path, GetWindowsDirectoryA(path, MAX_PATH));
  }
  static std::string System() {
    char path[MAX_PATH];
    return std::string(path, GetSystemDirectoryA(path, MAX_PATH));
  }
  static std::string Shell(int folder) {
    char path[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, path, folder, FALSE);
    return path;
  }
};

TEST_F(Macros, TheEnvironmentComesFirstThenOneMacroAtTheStart) {
  SetEnvironmentVariableA("VKTESTDIR", "C:\\from-env");
  SetEnvironmentVariableA("commondocs", "C:\\env-docs");
  using Paths = std::vector<std::string>;
  struct Case { std::string line; Paths paths; };
  const Case cases[] = {
      {"C:\\x\\*.tmp /S", {"C:\\x\\*.tmp /S"}},
      {"%VKTESTDIR%\\*.tmp", {"C:\\from-env\\*.tmp"}},
      {"%vktestdir%\\a\\%VKTESTDIR%", {"C:\\from-env\\a\\C:\\from-env"}},
      {"%commondocs%\\*.tmp", {"C:\\env-docs\\*.tmp"}},  // the environment's wins
      {"%sysdir%\\*.tmp /SI", {System() + "\\*.tmp /SI"}},
      {"%SysDir%\\*.tmp", {System() + "\\*.tmp"}},
      {"%SYSDIR%\\%VKTESTDIR%\\*.tmp", {System() + "\\%VKTESTDIR%\\*.tmp"}},
      {"%WinDir%\\*.log", {Windows() + "\\*.log"}},
      {"%Desktop%\\*.lnk", {Shell(CSIDL_DESKTOPDIRECTORY) + "\\*.lnk"}},
      {"%sysdir\\*.tmp", {}},
      {"%nosuchmacro%\\*.tmp", {}},
      {"%sysdir%\\" + std::string(300, 'l'), {}},
      {"%VKTESTDIR%\\" + std::string(300, 'l'), {}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.paths, Expand(c.line)) << c.line;
  SetEnvironmentVariableA("VKTESTDIR", nullptr);
  SetEnvironmentVariableA("commondocs", nullptr);
}

TEST_F(Macros, FolderWildcardsNeverLeadThroughALink) {
  // Prepared by the test scripts: holder\link is a Linux link to target, a junction here.
  const std::string base = "C:\\vk-link-fixture\\";
  const DWORD link = GetFileAttributesA((base + "holder\\link").c_str());
  ASSERT_TRUE(link != INVALID_FILE_ATTRIBUTES && (link & FILE_ATTRIBUTE_REPARSE_POINT)) << "the link fixture is missing";
  for (const char* file : {"target\\Cache\\t.tmp", "holder\\Plain\\Cache\\p.tmp", "target\\link\\x.tmp"})
    ASSERT_TRUE(fixtures::MakeFile(base + file, 1)) << file;
  // The link as the matched folder, and the link as a named folder below a match.
  EXPECT_EQ(std::vector<std::string>({base + "holder\\Plain\\Cache\\*.* /S"}), Expand(base + "holder\\*\\Cache\\*.* /S"));
  EXPECT_EQ(std::vector<std::string>({base + "target\\link\\*.tmp"}), Expand(base + "*\\link\\*.tmp"));
  for (const char* folder : {"holder\\Plain", "target\\Cache", "target\\link"}) harness::RemoveTree(base + folder);
}

TEST_F(Macros, EachMacroNamesItsFolderInAnyCase) {
  struct Case { const char* token; std::string folder; };
  const Case known[] = {
      {"%windir%", Windows()},
      {"%SYSDIR%", System()},
      {"%AppData%", Shell(CSIDL_APPDATA)},
      {"%programfiles%", Shell(CSIDL_PROGRAM_FILES)},
      {"%desktop%", Shell(CSIDL_DESKTOPDIRECTORY)},
      {"%commonappdata%", Shell(CSIDL_COMMON_APPDATA)},
      {"%CommonDesktop%", Shell(CSIDL_COMMON_DESKTOPDIRECTORY)},
      {"%commondocs%", Shell(CSIDL_COMMON_DOCUMENTS)},
      {"%commonprogramfiles%", Shell(CSIDL_PROGRAM_FILES_COMMON)},
      {"%LOCALAPPDATA%", Shell(CSIDL_LOCAL_APPDATA)},
  };
  for (const Case& c : known) {
    EXPECT_FALSE(c.folder.empty()) << c.token;
    EXPECT_EQ(c.folder, macros::ResolveMacro(c.token)) << c.token;
  }
  for (const char* unknown : {"%drive%", "%temp%", "%windir", "windir", "%windir%x"})
    EXPECT_EQ("", macros::ResolveMacro(unknown)) << unknown;
}

TEST_F(Macros, ProgramFolderFallbacksComeFromTheCurrentVersionKey) {
  fixtures::ScratchRegistry registry;
  ASSERT_TRUE(registry.ok());
  EXPECT_EQ("", macros::CurrentVersionFolder("ProgramFilesDir"));
  ASSERT_TRUE(fixtures::SetString(HKEY_LOCAL_MACHINE, macros::kCurrentVersionKey, "ProgramFilesDir", "D:\\Apps"));
  ASSERT_TRUE(fixtures::SetString(HKEY_LOCAL_MACHINE, macros::kCurrentVersionKey, "CommonFilesDir",
                                  "D:\\" + std::string(300, 'c')));
  EXPECT_EQ("D:\\Apps", macros::CurrentVersionFolder("ProgramFilesDir"));
  EXPECT_EQ("", macros::CurrentVersionFolder("CommonFilesDir"));
}

TEST_F(Macros, DriveYieldsOnePathPerFixedDiskInLetterOrder) {
  std::vector<std::string> fixed;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const std::string root = std::string(1, letter) + ":\\";
    if (GetDriveTypeA(root.c_str()) == DRIVE_FIXED) fixed.push_back(root + "vkdrive\\*.tmp");
  }
  // The test drives of scripts/wine-env.sh: M: and N: fixed, O: a CD drive.
  ASSERT_EQ(DRIVE_FIXED, GetDriveTypeA("M:\\"));
  ASSERT_EQ(DRIVE_FIXED, GetDriveTypeA("N:\\"));
  ASSERT_EQ(DRIVE_CDROM, GetDriveTypeA("O:\\"));
  EXPECT_EQ(fixed, Expand("%DRIVE%vkdrive\\*.tmp"));
  EXPECT_EQ(fixed, Expand("%drive%vkdrive\\*.tmp"));

  for (const char* root : {"M:\\", "N:\\", "O:\\"}) harness::RemoveTree(std::string(root) + "vkdrive\\");
  ASSERT_TRUE(fixtures::MakeFile("M:\\vkdrive\\a.tmp", 1));
  ASSERT_TRUE(fixtures::MakeFile("N:\\vkdrive\\b.tmp", 2));
  ASSERT_TRUE(fixtures::MakeFile("O:\\vkdrive\\c.tmp", 4));
  TextPlugInfo item(Plugin("drives.vkt", "[files]\r\n%drive%vkdrive\\*.tmp /SI\r\n"));
  item.Prepare();
  EXPECT_EQ(2, item.GetCountFound());
  EXPECT_EQ(3, item.GetSizeFound());
  item.Clean();
  EXPECT_EQ(3, item.GetSizeCleaned());
  EXPECT_FALSE(FileExists("M:\\vkdrive"));
  EXPECT_FALSE(FileExists("N:\\vkdrive"));
  EXPECT_TRUE(FileExists("O:\\vkdrive\\c.tmp"));
  harness::RemoveTree("O:\\vkdrive\\");
}

// Step four of filling the host's list, without a window.
TEST_F(TextPlugin, TheListTakesTextPluginsInByteOrderAfterTheBinaryItems) {
  CreateDirectoryA(Path("plug-ins").c_str(), nullptr);
  ASSERT_TRUE(fixtures::MakeFile(Path("data\\one.tmp"), 2048));
  ASSERT_TRUE(fixtures::MakeFile(Path("data\\two.tmp"), 1));
  Plugin("plug-ins\\b.vkt", "[Info]\r\nTitle=Lower b\r\n[files]\r\n" + Path("data\\*.tmp") + "\r\n");
  Plugin("plug-ins\\C.vkt", "[Info]\r\nTitle=Upper C\r\n[files]\r\n" + Path("data\\one.tmp") + "\r\n");
  Plugin("plug-ins\\empty.vkt", "[Info]\r\nTitle=Empty\r\n[files]\r\n" + Path("data\\*.none") + "\r\n");
  Plugin("plug-ins\\notes.txt", "[Info]\r\nTitle=Not a plug-in\r\n");
  Plugin("beside.vkt", "[Info]\r\nTitle=Beside\r\n");
  WriteTextFile(Path("Morvel.ini"), "[Plugins]\r\nlower b=1\r\n");
  DLLList none;
  for (const bool hide : {false, true}) {
    ItemList list;
    list.FillItemList(folder_.path(), "", hide, none);
    std::vector<std::string> captions;
    for (const ListEntry& entry : list.entries()) captions.push_back(entry.caption);
    std::vector<std::string> expected = {"Upper C (2 kB; 1 item)", "Lower b (2 kB; 2 items)"};
    if (!hide) expected.push_back("Empty (0 bytes; 0 items)");
    EXPECT_EQ(expected, captions);
    ASSERT_GE(list.entries().size(), 2u);
    EXPECT_FALSE(list.entries()[0].ticked);
    EXPECT_TRUE(list.entries()[1].ticked);
  }
}

// The plug-ins shipped in dist\plug-ins\, read as the host reads them (never cleaned here).
TEST(SamplePlugins, EveryLineNamesSomethingTheEngineCanWalk) {
  const std::string folder = harness::BuildFolder() + "sample-plug-ins\\";
  const std::vector<std::string> names = SortedFileNames(folder, textplugin::kPattern);
  EXPECT_GE(names.size(), 3u);
  for (const std::string& name : names) {
    const std::string path = folder + name;
    TextPlugInfo item(path);
    EXPECT_STRNE(textplugin::kDefaultTitle, item.GetTitle()) << name;
    EXPECT_STRNE(textplugin::kDefaultDescription, item.GetDescription()) << name;
    for (const std::string& line : textplugin::ReadSectionLines(path, textplugin::kRegistrySection)) {
      textentries::RegistryEntry entry;
      EXPECT_TRUE(textentries::ParseRegistryEntry(line, entry)) << name << ": " << line;
    }
    // Every line names one folder, or with a wildcard the folders that match it (which may
    // be none here); only such matched folders may be removed themselves.
    for (const std::string& line : textplugin::ReadSectionLines(path, textplugin::kFilesSection)) {
      std::vector<std::string> made;
      macros::ExpandMacros(line, made);
      textentries::FilesEntry entry;
      ASSERT_EQ(1u, made.size()) << name << ": " << line;
      EXPECT_TRUE(textentries::ParseFilesEntry(made[0], entry)) << name << ": " << made[0];
      EXPECT_EQ(std::string::npos, made[0].find('%')) << name << ": " << made[0];
      EXPECT_TRUE(!entry.switches.includeFolder || wildcards::HasFolderWildcard(made[0])) << name << ": " << made[0];
    }
  }
}

}  // namespace
