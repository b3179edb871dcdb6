// The counting and deletion walks on real trees in a temporary folder.
#include "cleaner/Diskscan.h"

#include <windows.h>
#include <winioctl.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "cleaner/Cleaning.h"
#include "cleaner/tests/TextPluginFixtures.h"

namespace {

using harness::FileExists;
using textentries::SwitchSet;

// The deletion walk after a count of its own, as a cleaning run after Prepare.
WalkResult Clean(const char* folder, const char* mask, SwitchSet switches) {
  deletion::FileSnapshot seen;
  CountFolder(folder, mask, switches, &seen);
  return DeleteFolder(folder, mask, switches, seen);
}

SwitchSet Switches(const char* text) {
  std::string line = std::string("x ") + text;
  return textentries::StripSwitches(line);
}

class Diskscan : public ::testing::Test {
 protected:
  void SetUp() override {
    RebootFileCount = 0;
    RemoveOnReboot = false;
  }
  void TearDown() override {
    RebootFileCount = 0;
    RemoveOnReboot = false;
  }
  std::string Path(const std::string& name) const { return folder_ / name; }
  // Two depths of files and one folder of one extension only.
  void MakeTree() {
    ASSERT_TRUE(fixtures::MakeFile(Path("a.tmp"), 10));
    ASSERT_TRUE(fixtures::MakeFile(Path("b.log"), 20));
    ASSERT_TRUE(fixtures::MakeFile(Path("sub\\c.tmp"), 30));
    ASSERT_TRUE(fixtures::MakeFile(Path("sub\\d.log"), 40));
    ASSERT_TRUE(fixtures::MakeFile(Path("sub\\deep\\e.tmp"), 50));
    ASSERT_TRUE(fixtures::MakeFile(Path("only\\f.tmp"), 60));
  }
  harness::TempFolder folder_;
};

TEST_F(Diskscan, EachSwitchSetCountsAndDeletesItsOwnFiles) {
  struct Case {
    const char* switches;
    const char* mask;
    long long entries, bytes;
    std::vector<const char*> kept, gone;
  };
  const Case cases[] = {
      {"", "*.tmp", 1, 10, {"b.log", "sub\\c.tmp", "sub\\deep\\e.tmp", "only\\f.tmp"}, {"a.tmp"}},
      {"/S", "*.tmp", 4, 150, {"b.log", "sub\\d.log", "sub"}, {"a.tmp", "sub\\c.tmp", "sub\\deep", "only"}},
      {"/SO", "*.tmp", 3, 140, {"a.tmp", "b.log", "sub\\d.log"}, {"sub\\c.tmp", "sub\\deep", "only"}},
      {"/SI", "*.tmp", 4, 150, {"b.log", "sub\\d.log"}, {"a.tmp", "sub\\deep", "only"}},
      {"/SIO", "*.tmp", 4, 150, {"b.log", "sub\\d.log"}, {"a.tmp", "sub\\deep", "only"}},
      {"/SO /SI", "*.*", 4, 180, {"a.tmp", "b.log"}, {"sub", "only"}},
      {"", "*.*", 2, 30, {"sub\\c.tmp", "only\\f.tmp"}, {"a.tmp", "b.log"}},
      {"/S", "nothing.at.all", 0, 0, {"a.tmp", "sub\\deep\\e.tmp", "only\\f.tmp"}, {}},
  };
  for (const Case& c : cases) {
    MakeTree();
    const SwitchSet s = Switches(c.switches);
    const WalkResult found = CountFolder(folder_.path().c_str(), c.mask, s);
    EXPECT_EQ(c.entries, found.entries) << c.switches << " " << c.mask;
    EXPECT_EQ(c.bytes, found.bytes) << c.switches << " " << c.mask;
    const WalkResult cleaned = Clean(folder_.path().c_str(), c.mask, s);
    EXPECT_EQ(c.entries, cleaned.entries) << c.switches << " " << c.mask;
    EXPECT_EQ(c.bytes, cleaned.bytes) << c.switches << " " << c.mask;
    for (const char* name : c.kept) EXPECT_TRUE(FileExists(Path(name))) << c.switches << " keeps " << name;
    for (const char* name : c.gone) EXPECT_FALSE(FileExists(Path(name))) << c.switches << " removes " << name;
    EXPECT_TRUE(FileExists(folder_.path()));
    harness::RemoveTree(folder_.path());
    CreateDirectoryA(folder_.path().c_str(), nullptr);
  }
}

TEST_F(Diskscan, IncludeFolderRemovesTheEmptiedFolderUnlessALockedFileKeepsIt) {
  const std::string named = Path("named\\");
  ASSERT_TRUE(fixtures::MakeFile(named + "x.tmp", 5));
  ASSERT_TRUE(fixtures::MakeFile(named + "a\\b\\y.dat", 7));
  EXPECT_EQ(12, Clean(named.c_str(), "*.*", Switches("/SI")).bytes);
  EXPECT_FALSE(FileExists(named));

  ASSERT_TRUE(fixtures::MakeFile(named + "x.tmp", 5));
  ASSERT_TRUE(fixtures::MakeFile(named + "a\\b\\locked.dat", 7));
  ASSERT_TRUE(fixtures::MakeFile(named + "c\\z.dat", 9));
  {
    win::UniqueFile lock = fixtures::LockFile(named + "a\\b\\locked.dat");
    ASSERT_TRUE(lock);
    const WalkResult cleaned = Clean(named.c_str(), "*.*", Switches("/SI"));
    EXPECT_EQ(2, cleaned.entries);
    EXPECT_EQ(14, cleaned.bytes);
  }
  EXPECT_TRUE(FileExists(named + "a\\b\\locked.dat"));
  EXPECT_FALSE(FileExists(named + "c"));
  EXPECT_EQ(0, RebootFileCount);  // the option is off
}

TEST_F(Diskscan, HiddenAndReadOnlyFilesGoSystemFilesStay) {
  ASSERT_TRUE(fixtures::MakeFile(Path("hidden.tmp"), 3, FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(fixtures::MakeFile(Path("readonly.tmp"), 5, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
  ASSERT_TRUE(fixtures::MakeFile(Path("both.tmp"), 7, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(fixtures::MakeFile(Path("system.tmp"), 11, FILE_ATTRIBUTE_SYSTEM));
  const WalkResult found = CountFolder(folder_.path().c_str(), "*.tmp", SwitchSet());
  EXPECT_EQ(3, found.entries);
  EXPECT_EQ(15, found.bytes);
  const WalkResult cleaned = Clean(folder_.path().c_str(), "*.tmp", SwitchSet());
  EXPECT_EQ(3, cleaned.entries);
  EXPECT_EQ(15, cleaned.bytes);
  EXPECT_FALSE(FileExists(Path("readonly.tmp")));
  EXPECT_FALSE(FileExists(Path("both.tmp")));
  EXPECT_FALSE(FileExists(Path("hidden.tmp")));
  EXPECT_TRUE(FileExists(Path("system.tmp")));
  SetFileAttributesA(Path("system.tmp").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Diskscan, MasksMatchLongNamesOnly) {
  // "report.tmpl" has the short name "REPORT~1.TMP" (or a hashed one ending in ".TMP"),
  // which the system's own search matches against "*.tmp".
  ASSERT_TRUE(fixtures::MakeFile(Path("report.tmpl"), 3));
  ASSERT_TRUE(fixtures::MakeFile(Path("a.TMP"), 5));
  ASSERT_TRUE(fixtures::MakeFile(Path("sub\\long name.tmpfile"), 7));
  ASSERT_TRUE(fixtures::MakeFile(Path("noext"), 11));
  // The system's search takes it for "*.tmp" (the fault this guards against).
  WIN32_FIND_DATAA data;
  win::UniqueFind find(FindFirstFileA(Path("*.tmp").c_str(), &data));
  ASSERT_TRUE(find);
  int systemMatches = 1;
  while (FindNextFileA(find.get(), &data)) ++systemMatches;
  EXPECT_EQ(2, systemMatches);
  const WalkResult found = CountFolder(folder_.path().c_str(), "*.tmp", Switches("/S"));
  EXPECT_EQ(1, found.entries);
  EXPECT_EQ(5, found.bytes);
  EXPECT_EQ(4, CountFolder(folder_.path().c_str(), "*.*", Switches("/S")).entries);
  EXPECT_EQ(1, CountFolder(folder_.path().c_str(), "*.", Switches("/S")).entries);
  const WalkResult cleaned = Clean(folder_.path().c_str(), "*.tmp", Switches("/S"));
  EXPECT_EQ(1, cleaned.entries);
  EXPECT_TRUE(FileExists(Path("report.tmpl")));
  EXPECT_TRUE(FileExists(Path("sub\\long name.tmpfile")));
  EXPECT_FALSE(FileExists(Path("a.TMP")));
}

TEST_F(Diskscan, AFileAboveFourGibibytesCountsInFull) {
  const std::string path = Path("big.bin");
  {
    win::UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    ASSERT_TRUE(file);
    DWORD returned = 0;
    DeviceIoControl(file.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = 5LL * 1024 * 1024 * 1024 + 7;
    ASSERT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(file.get()));
  }
  EXPECT_EQ(5368709127LL, CountFolder(folder_.path().c_str(), "*.bin", SwitchSet()).bytes);
  const WalkResult cleaned = Clean(folder_.path().c_str(), "*.bin", SwitchSet());
  EXPECT_EQ(1, cleaned.entries);
  EXPECT_EQ(5368709127LL, cleaned.bytes);
}

TEST_F(Diskscan, MissingFoldersAndUnfitFoldersGiveNothing) {
  EXPECT_EQ(0, CountFolder(Path("none\\").c_str(), "*.*", Switches("/S")).entries);
  EXPECT_EQ(0, Clean(Path("none\\").c_str(), "*.*", Switches("/SI")).entries);
  ASSERT_TRUE(fixtures::MakeFile(Path("a.tmp"), 1));
  // A folder without its closing '\' or longer than one path is never walked.
  std::string unclosed = folder_.path();
  unclosed.pop_back();
  EXPECT_EQ(0, CountFolder(unclosed.c_str(), "*.*", SwitchSet()).entries);
  EXPECT_EQ(0, CountFolder((folder_.path() + std::string(300, 'x') + "\\").c_str(), "*.*", SwitchSet()).entries);
  EXPECT_TRUE(FileExists(Path("a.tmp")));
}

// Long paths are made and removed through the "\\?\" form of the wide functions.
std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }
void RemoveLong(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveLong(path + L"\\" + name);
      } else {
        DeleteFileW((path + L"\\" + name).c_str());
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(path.c_str());
}

TEST_F(Diskscan, PathsLongerThanOnePathAreLeftAlone) {
  // folder (short) \ long1 (fits) \ long2 (does not fit) \ deep.tmp
  const std::string root = Path("long");
  const std::string level1 = root + "\\" + std::string(239 - root.size(), 'a');
  ASSERT_EQ(240u, level1.size());
  const std::wstring wide1 = L"\\\\?\\" + Wide(level1);
  const std::wstring wide2 = wide1 + L"\\" + std::wstring(30, L'b');
  ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + Wide(root)).c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(wide1.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(wide2.c_str(), nullptr));
  auto makeWide = [](const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(h, "xyz", 3, &written, nullptr);
    CloseHandle(h);
    return true;
  };
  ASSERT_TRUE(makeWide(wide2 + L"\\deep.tmp"));
  ASSERT_TRUE(makeWide(wide1 + L"\\" + std::wstring(25, L'n') + L".tmp"));  // 271 characters
  ASSERT_TRUE(makeWide(wide1 + L"\\s.tmp"));                                 // 246: fits
  ASSERT_TRUE(fixtures::MakeFile(root + "\\top.tmp", 4));

  const WalkResult found = CountFolder((root + "\\").c_str(), "*.tmp", Switches("/SI"));
  EXPECT_EQ(2, found.entries);
  EXPECT_EQ(7, found.bytes);
  const WalkResult cleaned = Clean((root + "\\").c_str(), "*.tmp", Switches("/SI"));
  EXPECT_EQ(2, cleaned.entries);
  EXPECT_EQ(7, cleaned.bytes);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((wide1 + L"\\s.tmp").c_str()));
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((wide2 + L"\\deep.tmp").c_str()));
  EXPECT_NE(INVALID_FILE_ATTRIBUTES,
            GetFileAttributesW((wide1 + L"\\" + std::wstring(25, L'n') + L".tmp").c_str()));
  RemoveLong(L"\\\\?\\" + Wide(root));
}

TEST_F(Diskscan, LinkedFoldersAreNeitherCountedNorEntered) {
  // Prepared by the test scripts: holder\link is a Linux link to target, a junction here.
  const std::string base = "C:\\vk-link-fixture\\";
  const DWORD link = GetFileAttributesA((base + "holder\\link").c_str());
  ASSERT_NE(INVALID_FILE_ATTRIBUTES, link) << "the link fixture of scripts/wine-env.sh is missing";
  ASSERT_TRUE(link & FILE_ATTRIBUTE_REPARSE_POINT);
  ASSERT_TRUE(fixtures::MakeFile(base + "target\\keep.tmp", 100));
  ASSERT_TRUE(fixtures::MakeFile(base + "target\\inner\\keep2.tmp", 100));
  ASSERT_TRUE(fixtures::MakeFile(base + "holder\\a.tmp", 1));
  ASSERT_TRUE(fixtures::MakeFile(base + "holder\\sub\\b.tmp", 2));
  const std::string holder = base + "holder\\";
  const WalkResult found = CountFolder(holder.c_str(), "*.*", Switches("/SI"));
  EXPECT_EQ(2, found.entries);
  EXPECT_EQ(3, found.bytes);
  const WalkResult cleaned = Clean(holder.c_str(), "*.*", Switches("/SI"));
  EXPECT_EQ(2, cleaned.entries);
  EXPECT_EQ(3, cleaned.bytes);
  EXPECT_TRUE(FileExists(base + "target\\keep.tmp"));
  EXPECT_TRUE(FileExists(base + "target\\inner\\keep2.tmp"));
  EXPECT_TRUE(FileExists(base + "holder\\link"));
  EXPECT_FALSE(FileExists(base + "holder\\sub"));
}

constexpr const char* kKey = "System\\CurrentControlSet\\Control\\Session Manager";

// The registry value the NT family reads at restart.
class PendingRenames {
 public:
  PendingRenames() {
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_ALL_ACCESS, key_.put());
    saved_ = Read(&had_);
  }
  ~PendingRenames() {
    if (had_) {
      RegSetValueExA(key_.get(), kValue, 0, REG_MULTI_SZ,
                     reinterpret_cast<const BYTE*>(saved_.data()), static_cast<DWORD>(saved_.size()));
    } else {
      RegDeleteValueA(key_.get(), kValue);
    }
  }
  std::string Read(bool* exists = nullptr) const {
    DWORD size = 0;
    const bool found = RegQueryValueExA(key_.get(), kValue, nullptr, nullptr, nullptr, &size) == 0;
    if (exists) *exists = found;
    std::string data(size, '\0');
    if (found && size) RegQueryValueExA(key_.get(), kValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&data[0]), &size);
    return data;
  }

 private:
  static constexpr const char* kValue = "PendingFileRenameOperations";
  win::UniqueKey key_;
  std::string saved_;
  bool had_ = false;
};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](char c) { return static_cast<char>(tolower(c)); });
  return text;
}

TEST_F(Diskscan, ALockedFileIsScheduledOnlyWhenTheOptionAllowsIt) {
  PendingRenames pending;
  ASSERT_TRUE(fixtures::MakeFile(Path("locked-off.tmp"), 8));
  ASSERT_TRUE(fixtures::MakeFile(Path("free.tmp"), 3));
  const std::string before = pending.Read();
  {
    win::UniqueFile lock = fixtures::LockFile(Path("locked-off.tmp"));
    const WalkResult cleaned = Clean(folder_.path().c_str(), "*.tmp", SwitchSet());
    EXPECT_EQ(1, cleaned.entries);
    EXPECT_EQ(3, cleaned.bytes);
  }
  EXPECT_EQ(0, RebootFileCount);
  EXPECT_EQ(before, pending.Read());

  RemoveOnReboot = true;
  ASSERT_TRUE(fixtures::MakeFile(Path("locked-on.tmp"), 8));
  {
    win::UniqueFile lock = fixtures::LockFile(Path("locked-on.tmp"));
    const WalkResult cleaned = Clean(folder_.path().c_str(), "locked-on.tmp", SwitchSet());
    EXPECT_EQ(0, cleaned.entries);
    EXPECT_EQ(0, cleaned.bytes);
  }
  EXPECT_EQ(1, RebootFileCount);
  EXPECT_NE(std::string::npos, Lower(pending.Read()).find(Lower(Path("locked-on.tmp"))));
  EXPECT_EQ(std::string::npos, Lower(pending.Read()).find("locked-off.tmp"));
}

// The Session Manager key made read-only for everyone while it lives: the NT family then
// refuses to schedule anything, as it does for a user without administrator rights.
class ReadOnlySessionManager {
 public:
  ReadOnlySessionManager() {
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, READ_CONTROL | WRITE_DAC, key_.put());
    DWORD size = 0;
    RegGetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, nullptr, &size);
    saved_.resize(size);
    if (!size || RegGetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, saved_.data(), &size)) return;
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;KR;;;WD)", SDDL_REVISION_1, &readOnly, nullptr))
      return;
    ok_ = RegSetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, readOnly) == ERROR_SUCCESS;
    LocalFree(readOnly);
  }
  ~ReadOnlySessionManager() {
    if (ok_) RegSetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, saved_.data());
  }
  bool ok() const { return ok_; }

 private:
  win::UniqueKey key_;
  std::vector<BYTE> saved_;
  bool ok_ = false;
};

TEST_F(Diskscan, AFileTheSystemRefusesToScheduleIsNotCounted) {
  PendingRenames pending;
  const std::string before = pending.Read();
  RemoveOnReboot = true;
  ASSERT_TRUE(fixtures::MakeFile(Path("locked.tmp"), 8));
  win::UniqueFile lock = fixtures::LockFile(Path("locked.tmp"));
  ASSERT_TRUE(lock);
  {
    ReadOnlySessionManager readOnly;
    ASSERT_TRUE(readOnly.ok());
    EXPECT_FALSE(MoveFileExA(Path("locked.tmp").c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
    EXPECT_EQ(0, Clean(folder_.path().c_str(), "*.tmp", SwitchSet()).entries);
  }
  EXPECT_EQ(0, RebootFileCount);
  EXPECT_EQ(before, pending.Read());
}

// WININIT.INI of the Windows folder, put back as it was afterwards.
class Wininit {
 public:
  Wininit() {
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    path_ = std::string(windows) + "\\WININIT.INI";
    had_ = FileExists(path_);
    if (had_) saved_ = harness::ReadTextFile(path_);
  }
  ~Wininit() {
    if (had_) {
      harness::WriteTextFile(path_, saved_);
    } else {
      DeleteFileA(path_.c_str());
    }
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::string saved_;
  bool had_ = false;
};

TEST_F(Diskscan, OnTheOlderFamilyEachFileGetsItsOwnNulLine) {
  Wininit wininit;
  harness::WriteTextFile(wininit.path(), "[Rename]\r\nNUL=C:\\earlier.tmp\r\n[Other]\r\nx=1\r\n");
  for (const char* name : {"one.tmp", "two.tmp", "three.tmp"})
    ScheduleRemovalAtRestart(Path(name).c_str(), false);
  char section[4096];
  const DWORD n = GetPrivateProfileSectionA("Rename", section, sizeof section, wininit.path().c_str());
  EXPECT_EQ(std::vector<std::string>({"NUL=C:\\earlier.tmp", "NUL=" + Path("one.tmp"),
                                      "NUL=" + Path("two.tmp"), "NUL=" + Path("three.tmp")}),
            textentries::SectionLines(section, n));
  char other[16];
  GetPrivateProfileStringA("Other", "x", "", other, sizeof other, wininit.path().c_str());
  EXPECT_STREQ("1", other);
  // A file that cannot be written schedules nothing.
  win::UniqueFile held(CreateFileA(wininit.path().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  EXPECT_FALSE(ScheduleRemovalAtRestart(Path("four.tmp").c_str(), false));
}

// The whole walk in a program that the system takes for the older family.
TEST_F(Diskscan, ThreeLockedFilesOnTheOlderFamilyGiveThreeNulLines) {
  Wininit wininit;
  DeleteFileA(wininit.path().c_str());
  const std::string program = "vkt_walk98.exe";
  ASSERT_TRUE(harness::CopyFromBuild("vkt_walk.exe", folder_.path(), program));
  const std::string appKey = "Software\\Wine\\AppDefaults\\" + program;
  ASSERT_TRUE(fixtures::SetString(HKEY_CURRENT_USER, appKey, "Version", "win98"));
  const std::string tree = Path("tree\\");
  std::vector<win::UniqueFile> locks;
  for (const char* name : {"l1.tmp", "sub\\l2.tmp", "sub\\deep\\l3.tmp"}) {
    ASSERT_TRUE(fixtures::MakeFile(tree + name, 4));
    locks.push_back(fixtures::LockFile(tree + name));
  }
  ASSERT_TRUE(fixtures::MakeFile(tree + "free.tmp", 6));
  harness::Process walk("\"" + folder_.path() + program + "\" \"" + Path("tree") + "\" *.tmp /S");
  const harness::ProcessResult result = walk.Wait(20000);
  SHDeleteKeyA(HKEY_CURRENT_USER, appKey.c_str());
  ASSERT_TRUE(result.ended);
  EXPECT_EQ("platform 1\r\n1 entries 6 bytes 3 scheduled\r\n", harness::ReadTextFile(folder_ / "walk.txt"));
  char section[4096];
  const DWORD n = GetPrivateProfileSectionA("Rename", section, sizeof section, wininit.path().c_str());
  EXPECT_EQ(std::vector<std::string>({"NUL=" + tree + "l1.tmp", "NUL=" + tree + "sub\\l2.tmp",
                                      "NUL=" + tree + "sub\\deep\\l3.tmp"}),
            textentries::SectionLines(section, n));
}

}  // namespace
