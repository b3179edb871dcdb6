// The "System Temporary Files" item against real files: which folder it takes, when it is
// not offered, and the counting and deletion walks.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "plugins/standard/TempFiles.h"
#include "tests/harness/Harness.h"

namespace orvane {
namespace {

using harness::FileExists;
using harness::TempFolder;
using harness::WriteTextFile;

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    char old[32767];
    const DWORD n = GetEnvironmentVariableA(name, old, sizeof old);
    had_ = n > 0 && n < sizeof old;
    if (had_) old_.assign(old, n);
    SetEnvironmentVariableA(name, value);
  }
  ~ScopedVariable() { SetEnvironmentVariableA(name_.c_str(), had_ ? old_.c_str() : nullptr); }

 private:
  std::string name_;
  std::string old_;
  bool had_ = false;
};

std::string Folder(const TempFolder& folder) {
  std::string path = folder.path();
  path.pop_back();
  return path;
}

std::string WindowsFolder() {
  char path[MAX_PATH];
  return std::string(path, GetWindowsDirectoryA(path, MAX_PATH));
}
std::string SystemFolder() {
  char path[MAX_PATH];
  return std::string(path, GetSystemDirectoryA(path, MAX_PATH));
}

void WriteFile(const std::string& path, size_t bytes, DWORD attributes = 0) {
  ASSERT_TRUE(WriteTextFile(path, std::string(bytes, 'x'))) << path;
  if (attributes) {
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), attributes)) << path;
  }
}

TEST(TempItemSetUp, IsRefusedForTheWindowsFolderTheSystemFolderAndDriveRoots) {
  std::string lowerWindows = WindowsFolder();
  CharLowerBuffA(&lowerWindows[0], static_cast<DWORD>(lowerWindows.size()));
  const std::string refused[] = {WindowsFolder(), lowerWindows, SystemFolder(),
                                 SystemFolder() + "\\Temp", "C:\\", "C:",
                                 // Roots and the Windows folder in the spellings the system
                                 // resolves to them.
                                 "C:\\\\", "C:\\.", "C:\\ ", "\\\\SRV\\SHARE", "\\\\?\\C:\\",
                                 WindowsFolder() + "\\", WindowsFolder() + "\\.",
                                 WindowsFolder() + "\\Temp\\..", SystemFolder() + ".\\x"};
  for (const std::string& temp : refused) {
    ScopedVariable tmp("TMP", temp.c_str());
    const TempSetUp setUp = SetUpTempItem();
    EXPECT_FALSE(setUp.active) << temp;
    EXPECT_EQ(0, setUp.found.count) << temp;
    EXPECT_TRUE(setUp.description.empty()) << temp;
    std::string folder;
    EXPECT_FALSE(ReadCleanableTempFolder(folder)) << temp;  // nor when cleaning
  }
}

TEST(TempItemSetUp, CleansTheFolderAsTheSystemResolvesIt) {
  TempFolder folder;
  WriteFile(folder / "one.txt", 7);
  ScopedVariable tmp("TMP", (folder.path() + ".\\").c_str());
  const TempSetUp setUp = SetUpTempItem();
  EXPECT_TRUE(setUp.active);
  EXPECT_EQ(1, setUp.found.count);
  std::string cleaned;
  ASSERT_TRUE(ReadCleanableTempFolder(cleaned));
  EXPECT_EQ(Folder(folder), cleaned);
}

TEST(TempItemSetUp, TakesTempWhenTmpIsMissingOrEmpty) {
  TempFolder folder;
  WriteFile(folder / "one.txt", 7);
  ScopedVariable temp("TEMP", Folder(folder).c_str());
  for (const char* tmpValue : {static_cast<const char*>(nullptr), ""}) {
    ScopedVariable tmp("TMP", tmpValue);
    const TempSetUp setUp = SetUpTempItem();
    EXPECT_TRUE(setUp.active);
    EXPECT_EQ(1, setUp.found.count);
    EXPECT_EQ(7, setUp.found.size);
    EXPECT_EQ("Select this option to clean up the Windows System Temporary Folder. All files in "
              "it will be deleted. This folder is '" + Folder(folder) + "'",
              setUp.description);
  }
  ScopedVariable noTmp("TMP", nullptr);
  ScopedVariable noTemp("TEMP", nullptr);
  EXPECT_FALSE(SetUpTempItem().active);
}

class TempWalks : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(folder_ / "a.txt", 10);
    WriteFile(folder_ / "hidden.txt", 20, FILE_ATTRIBUTE_HIDDEN);
    WriteFile(folder_ / "system.txt", 30, FILE_ATTRIBUTE_SYSTEM);
    WriteFile(folder_ / "readonly.txt", 40, FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(CreateDirectoryA((folder_ / "sub").c_str(), nullptr));
    WriteFile(folder_ / "sub\\b.txt", 50);
    ASSERT_TRUE(CreateDirectoryA((folder_ / "sub\\deeper").c_str(), nullptr));
    WriteFile(folder_ / "sub\\deeper\\c.txt", 60);
    ASSERT_TRUE(CreateDirectoryA((folder_ / "empty").c_str(), nullptr));
  }
  bool Has(const std::string& name) const { return FileExists(folder_ / name); }
  // The deletion walk after a count of its own, as the item's cleaning after its set-up.
  Counters Clean(bool delSubfolders, bool delReadonly) {
    deletion::FileSnapshot seen;
    CountTempFiles(Folder(folder_), &seen);
    return DeleteTempFiles(Folder(folder_), seen, delSubfolders, delReadonly);
  }
  TempFolder folder_;
};

TEST_F(TempWalks, CountsEveryFileButSystemFilesAtAnyDepth) {
  const Counters found = CountTempFiles(Folder(folder_));
  EXPECT_EQ(5, found.count);
  EXPECT_EQ(10 + 20 + 40 + 50 + 60, found.size);
}

TEST_F(TempWalks, DeletesFilesAndEmptiedFoldersButKeepsSystemFilesAndTheFolder) {
  const Counters cleaned = Clean(true, true);
  EXPECT_EQ(5, cleaned.count);
  EXPECT_EQ(180, cleaned.size);
  EXPECT_TRUE(Has("system.txt"));
  EXPECT_FALSE(Has("readonly.txt"));
  EXPECT_FALSE(Has("sub"));
  EXPECT_FALSE(Has("empty"));
  EXPECT_TRUE(FileExists(Folder(folder_)));
}

TEST_F(TempWalks, DelSubfoldersOffKeepsTheEmptiedFolders) {
  const Counters cleaned = Clean(false, true);
  EXPECT_EQ(5, cleaned.count);
  EXPECT_FALSE(Has("sub\\deeper\\c.txt"));
  EXPECT_TRUE(Has("sub\\deeper"));
  EXPECT_TRUE(Has("empty"));
}

TEST_F(TempWalks, DelReadonlyOffLeavesReadOnlyFilesUncounted) {
  const Counters cleaned = Clean(true, false);
  EXPECT_EQ(4, cleaned.count);
  EXPECT_EQ(140, cleaned.size);
  EXPECT_TRUE(Has("readonly.txt"));
}

TEST_F(TempWalks, ALockedFileStaysAndIsNotCounted) {
  HANDLE locked = CreateFileA((folder_ / "sub\\b.txt").c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, locked);
  const Counters cleaned = Clean(true, true);
  CloseHandle(locked);
  EXPECT_EQ(4, cleaned.count);
  EXPECT_TRUE(Has("sub\\b.txt"));
  EXPECT_FALSE(Has("sub\\deeper"));
}

// A link to a folder elsewhere, made from Linux: Wine shows it as a reparse point.
bool MakeFolderLink(const std::string& target, const std::string& link) {
  using UnixName = char*(CDECL*)(LPCWSTR);
  auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return false;
  auto convert = [&](const std::string& path) {
    std::wstring wide(path.begin(), path.end());
    char* name = unixName(wide.c_str());
    std::string result = name ? name : "";
    if (name) HeapFree(GetProcessHeap(), 0, name);
    return result;
  };
  const std::string unixTarget = convert(target);
  const std::string unixLink = convert(link);
  if (unixTarget.empty() || unixLink.empty()) return false;
  char system[MAX_PATH];
  GetSystemDirectoryA(system, MAX_PATH);
  harness::Process ln(std::string(system) + "\\start.exe /wait /unix /bin/ln -s \"" + unixTarget +
                      "\" \"" + unixLink + "\"");
  if (!ln.started() || !ln.Wait(20000).ended) return false;
  for (int i = 0; i < 100 && !FileExists(link); ++i) Sleep(50);
  return FileExists(link);
}

TEST_F(TempWalks, LinksToFoldersAreNeverEntered) {
  TempFolder outside;
  WriteFile(outside / "precious.txt", 99);
  ASSERT_TRUE(MakeFolderLink(Folder(outside), folder_ / "link"));
  const DWORD attributes = GetFileAttributesA((folder_ / "link").c_str());
  ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes);
  ASSERT_TRUE(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
  EXPECT_EQ(5, CountTempFiles(Folder(folder_)).count);
  EXPECT_EQ(5, Clean(true, true).count);
  EXPECT_TRUE(FileExists(outside / "precious.txt"));
}

TEST_F(TempWalks, PathsBeyondTheBufferAreSkipped) {
  const std::string deep = folder_ / std::string(200 - folder_.path().size(), 'd');
  ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr));
  WriteFile(deep + "\\f.txt", 5);
  const std::wstring wideDeep(deep.begin(), deep.end());
  const std::wstring tooLong = L"\\\\?\\" + wideDeep + L"\\" + std::wstring(80, L'e');
  ASSERT_TRUE(CreateDirectoryW(tooLong.c_str(), nullptr));
  const std::wstring hidden = tooLong + L"\\g.txt";
  HANDLE file = CreateFileW(hidden.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  CloseHandle(file);

  EXPECT_EQ(6, CountTempFiles(Folder(folder_)).count);
  EXPECT_EQ(6, Clean(true, true).count);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((deep + "\\f.txt").c_str()));
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(hidden.c_str()));
  DeleteFileW(hidden.c_str());
  RemoveDirectoryW(tooLong.c_str());
}

TEST_F(TempWalks, AFileWhosePathDoesNotFitIsNeitherCountedNorDeleted) {
  const std::string deep = folder_ / std::string(240 - folder_.path().size(), 'd');
  ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr));
  const std::wstring wideDeep(deep.begin(), deep.end());
  const std::wstring tooLong = L"\\\\?\\" + wideDeep + L"\\" + std::wstring(30, L'n') + L".txt";
  HANDLE file = CreateFileW(tooLong.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  CloseHandle(file);
  EXPECT_EQ(5, CountTempFiles(Folder(folder_)).count);
  EXPECT_EQ(5, Clean(true, true).count);
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(tooLong.c_str()));
  DeleteFileW(tooLong.c_str());
}

std::string Special(int csidl) {
  char path[MAX_PATH];
  return SHGetFolderPathA(nullptr, csidl, nullptr, 0, path) == S_OK ? std::string(path) : std::string();
}

// A temporary folder is judged by the folder the system resolves it to, under every name.
TEST(TempItemSetUp, IsRefusedForTheSystemsFoldersThroughEveryAlias) {
  TempFolder links;
  const std::string windows = WindowsFolder();
  const std::string profile = Special(CSIDL_PROFILE);
  const std::string appData = profile + "\\AppData";
  ASSERT_TRUE(MakeFolderLink(SystemFolder(), links / "system"));
  ASSERT_TRUE(MakeFolderLink(appData, links / "appdata"));
  // A drive letter mapped to the Windows folder.
  const std::string dosDevices = harness::UnixPath("C:\\") + "../dosdevices/q:";
  harness::RunHostTool("rm -f '" + dosDevices + "'");
  ASSERT_TRUE(harness::RunHostTool("ln -s '" + harness::UnixPath(windows) + "' '" + dosDevices + "'"));
  const std::string refused[] = {
      windows + "\\Sysnative\\drivers", windows + "\\SysWOW64", "Q:\\Fonts", "Q:\\system32",
      links / "system", links / "appdata", "\\\\LOCALHOST\\C$\\WINDOWS", windows + "\\Fonts",
      windows + "\\WinSxS", windows + "\\Temp", profile.substr(0, profile.find_last_of('\\')), profile,
      appData, appData + "\\Local", appData + "\\Roaming", appData + "\\LocalLow",
      Special(CSIDL_COMMON_APPDATA), Special(CSIDL_PROGRAM_FILES), Special(CSIDL_PROGRAM_FILESX86)};
  for (const std::string& temp : refused) {
    ScopedVariable tmp("TMP", temp.c_str());
    EXPECT_FALSE(SetUpTempItem().active) << temp;
    std::string folder;
    EXPECT_FALSE(ReadCleanableTempFolder(folder)) << temp;
  }
  harness::RunHostTool("rm -f '" + dosDevices + "'");
}

// Accepted when the item is set up, then swapped for a link to a profile's AppData, which
// holds another name (a hard link) of the very file counted: the cleaning decides again on
// the folder it opens, and leaves it alone.
TEST(TempItemSetUp, AFolderSwappedForALinkBeforeTheCleaningIsLeftAlone) {
  TempFolder parent;
  const std::string appData = Special(CSIDL_PROFILE) + "\\AppData";
  const std::string canary = appData + "\\a.txt";
  ASSERT_TRUE(CreateDirectoryA((parent / "temp").c_str(), nullptr));
  WriteFile(parent / "temp\\a.txt", 5);
  DeleteFileA(canary.c_str());
  ASSERT_TRUE(harness::RunHostTool("ln '" + harness::UnixPath(parent / "temp\\a.txt") + "' '" +
                                   harness::UnixPath(appData) + "/a.txt'"));
  ScopedVariable tmp("TMP", (parent / "temp").c_str());
  TempSetUp setUp = SetUpTempItem();
  ASSERT_TRUE(setUp.active);
  ASSERT_EQ(1, setUp.found.count);
  harness::RemoveTree(parent / "temp");
  ASSERT_TRUE(MakeFolderLink(appData, parent / "temp"));
  EXPECT_EQ(0, CleanTempFolder(setUp.seen, true, true).count);
  EXPECT_TRUE(FileExists(canary));
  DeleteFileA(canary.c_str());
}

}  // namespace
}  // namespace orvane
