// The guarded deletion on a hostile tree, through its two callers as users get them: a
// text plug-in and the temporary-files item of orvane.vkp, each cleaning in the real host.
// Links and their trailing-dot twins, hard links, read-only and locked files, files added
// or changed between the count and the cleaning, a folder swapped for a link mid-walk.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "cleaner/forms/MainIds.h"
#include "cleaner/forms/Result.h"
#include "common/Unique.h"
#include "common/deletion/FileDeletion.h"
#include "tests/harness/Harness.h"

namespace {

using harness::TempFolder;

constexpr DWORD kTimeoutMs = 30000;
constexpr const char* kPluginTitle = "Hostile tree";
constexpr const char* kTempTitle = "System Temporary Files";

std::wstring Exact(const std::string& path) { return L"\\\\?\\" + std::wstring(path.begin(), path.end()); }
// Looked at through "\\?\" paths, which the system takes as written: "lnk." is not "lnk".
DWORD Attributes(const std::string& path) { return GetFileAttributesW(Exact(path).c_str()); }
bool Exists(const std::string& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }
std::string NoSlash(std::string path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

class HostileTree : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeTree();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(harness::CopyFromBuild("morvel.exe", program_.path()));
    ASSERT_TRUE(harness::CopyFromBuild("orvane.vkp", program_.path()));
    CreateDirectoryA((program_ / "plug-ins").c_str(), nullptr);
    ASSERT_TRUE(harness::WriteTextFile(program_ / "plug-ins\\hostile.vkt",
                                       std::string("[Info]\r\nTitle=") + kPluginTitle +
                                           "\r\nDescription=x\r\n[files]\r\n" + tree_.path() + "*.* /S\r\n"));
  }
  // Made afresh from Linux: Win32 cannot make links here, nor names with a trailing dot.
  void MakeTree() {
    const std::string t = harness::UnixPath(NoSlash(tree_.path()));
    const std::string o = harness::UnixPath(NoSlash(outside_.path()));
    ASSERT_FALSE(t.empty() || o.empty());
    auto file = [](const std::string& path) { return "printf vk > '" + path + "' && "; };
    ASSERT_TRUE(harness::RunHostTool(
        "rm -rf '" + t + "' '" + o + "' && mkdir -p '" + o + "/linked' '" + o + "/behind' '" + t + "/lnk.' && " + file(o + "/linked/precious.tmp") +
        file(o + "/behind/precious.tmp") + file(o + "/hard-ro.dat") + file(t + "/a.tmp") +
        file(t + "/lnk./junk.tmp") + file(t + "/abcd") + file(t + "/abcd.") + file(t + "/locked-ro.tmp") +
        "/usr/bin/ln -s '" + o + "/linked' '" + t + "/keep-link' && /usr/bin/ln -s '" + o + "/behind' '" + t +
        "/lnk' && /usr/bin/ln '" + o + "/hard-ro.dat' '" + t + "/hard-ro.tmp' && /usr/bin/chmod a-w '" + o +
        "/hard-ro.dat' '" + t + "/locked-ro.tmp'"));
    ASSERT_TRUE(SetFileAttributesA((tree_ / "abcd").c_str(), FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(Attributes(tree_ / "lnk") & FILE_ATTRIBUTE_REPARSE_POINT);
  }
  void TearDown() override {
    // Links and trailing-dot names are removed from Linux, where neither is followed.
    harness::RunHostTool("rm -rf '" + harness::UnixPath(NoSlash(tree_.path())) + "'");
  }
  // The host with its temporary folder at `temp`; this process keeps its own.
  std::unique_ptr<harness::Process> StartMorvel(const std::string& arguments, const std::string& temp) {
    char saved[MAX_PATH] = "";
    GetEnvironmentVariableA("TMP", saved, MAX_PATH);
    SetEnvironmentVariableA("TMP", NoSlash(temp).c_str());
    auto morvel = std::make_unique<harness::Process>("\"" + program_.path() + "morvel.exe\"" + arguments);
    SetEnvironmentVariableA("TMP", saved);
    return morvel;
  }

  TempFolder program_, tree_, outside_;
};

TEST_F(HostileTree, ACleaningRemovesOnlyWhatItListedInsideTheNamedFolder) {
  struct Row {
    bool inTree;
    const char* name;
    bool stays;
    bool readOnly;
  };
  const Row rows[] = {
      {true, "a.tmp", false, false},
      {true, "lnk.\\junk.tmp", false, false},  // the plain folder beside the link "lnk"
      {true, "lnk", true, false},
      {false, "behind\\precious.tmp", true, false},  // behind "lnk"
      {true, "keep-link", true, false},
      {false, "linked\\precious.tmp", true, false},
      {true, "abcd.", false, false},
      {true, "abcd", true, false},  // a system file, never cleaned
      {true, "hard-ro.tmp", false, false},
      {false, "hard-ro.dat", true, true},  // the same file's other name keeps its mark
      {true, "locked-ro.tmp", true, true},  // in use: neither deleted nor changed
  };
  for (const char* title : {kPluginTitle, kTempTitle}) {
    SCOPED_TRACE(title);
    if (title == kTempTitle) MakeTree();
    win::UniqueFile lock(CreateFileA((tree_ / "locked-ro.tmp").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    ASSERT_TRUE(harness::WriteTextFile(program_ / "morvel.ini", std::string("[Hostile]\r\n") + title + "=1\r\n"));
    ASSERT_TRUE(StartMorvel(" /q:Hostile", tree_.path())->Wait(kTimeoutMs).ended);
    for (const Row& row : rows) {
      const std::string path = (row.inTree ? tree_ : outside_) / row.name;
      EXPECT_EQ(row.stays, Exists(path)) << path;
      if (row.stays) {
        EXPECT_EQ(row.readOnly, (Attributes(path) & FILE_ATTRIBUTE_READONLY) != 0) << path;
      }
    }
  }
}

// The count happens when the window opens, the cleaning when Clean is pressed: a file
// added or changed in between stays, and the result says no more than the list did.
TEST_F(HostileTree, TheCleaningKeepsWhatWasAddedOrChangedAfterTheCount) {
  TempFolder temp;
  for (const std::string& folder : {tree_.path(), temp.path()})
    for (const char* name : {"counted.tmp", "changed.tmp"}) ASSERT_TRUE(harness::WriteTextFile(folder + name, "4444"));
  ASSERT_TRUE(harness::WriteTextFile(program_ / "morvel.ini",
                                     std::string("[Plugins]\r\n") + kPluginTitle + "=1\r\n" + kTempTitle + "=1\r\n"));
  const auto morvel = StartMorvel("", temp.path());
  HWND form = harness::WaitForWindow(mainform::kClassName, mainform::kTitle, morvel->id(), kTimeoutMs);
  ASSERT_NE(nullptr, form);
  for (const std::string& folder : {tree_.path(), temp.path()}) {
    ASSERT_TRUE(harness::WriteTextFile(folder + "added.tmp", "1"));
    ASSERT_TRUE(harness::WriteTextFile(folder + "changed.tmp", "55555"));
  }
  ASSERT_TRUE(harness::ClickButton(form, "C&lean"));
  HWND results = harness::WaitForWindow(resultform::kClassName, resultform::kCaption, morvel->id(), kTimeoutMs);
  ASSERT_NE(nullptr, results);
  const std::string text = harness::WindowText(GetDlgItem(results, resultform::kResult));
  harness::ClickButton(results, "&Exit");
  morvel->Wait(kTimeoutMs);
  for (const std::string& folder : {tree_.path(), temp.path()}) {
    EXPECT_FALSE(harness::FileExists(folder + "counted.tmp")) << folder;
    EXPECT_TRUE(harness::FileExists(folder + "changed.tmp")) << folder;
    EXPECT_TRUE(harness::FileExists(folder + "added.tmp")) << folder;
  }
  // The tree also holds the files that the other test cleans: only its own counts matter.
  EXPECT_NE(std::string::npos, text.find(std::string(kTempTitle) + " (8 bytes; 2 items): cleaned 4 bytes in 1 item."))
      << text;
}

// Where the native calls are missing, the walks go by paths: names a path cannot give
// exactly (a trailing dot) and links stay out of both walks, and the count still decides.
TEST_F(HostileTree, WalkingByPathsTakesOnlyPlainNamesAndWhatWasCounted) {
  ASSERT_TRUE(harness::WriteTextFile(tree_ / "changed.tmp", "4444"));
  deletion::FileWalk walk;
  walk.byPaths = walk.subfolders = true;
  deletion::FileSnapshot seen;
  EXPECT_EQ(4, deletion::CountFiles(tree_.path(), walk, &seen).entries);  // a, hard-ro, locked-ro, changed
  ASSERT_TRUE(harness::WriteTextFile(tree_ / "changed.tmp", "55555"));
  ASSERT_TRUE(harness::WriteTextFile(tree_ / "added.tmp", "1"));
  win::UniqueFile lock(CreateFileA((tree_ / "locked-ro.tmp").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(lock);
  EXPECT_EQ(2, deletion::DeleteFiles(tree_.path(), walk, seen).entries);
  for (const char* gone : {"a.tmp", "hard-ro.tmp"}) EXPECT_FALSE(Exists(tree_ / gone)) << gone;
  for (const char* stays : {"abcd.", "abcd", "lnk.\\junk.tmp", "changed.tmp", "added.tmp", "locked-ro.tmp"})
    EXPECT_TRUE(Exists(tree_ / stays)) << stays;
  EXPECT_TRUE(Attributes(tree_ / "locked-ro.tmp") & FILE_ATTRIBUTE_READONLY);
  for (const char* outside : {"behind\\precious.tmp", "linked\\precious.tmp"}) EXPECT_TRUE(Exists(outside_ / outside));
}

// A folder that is swapped for a link to elsewhere after its listing, before the walk
// enters it: the object under its name is no longer the one listed, and is not entered.
std::string swapped;
std::string swapTarget;
void SwapForLink(const std::string& path) {
  if (swapped.empty() && path.size() > 4 && path.compare(path.size() - 4, 4, "\\sub") == 0) {
    swapped = path;
    MoveFileA(path.c_str(), (path + "-moved").c_str());
    harness::RunHostTool("ln -s '" + swapTarget + "' '" + harness::UnixPath(path) + "'");
  }
}

TEST_F(HostileTree, AFolderSwappedForALinkMidWalkIsNotEntered) {
  ASSERT_TRUE(CreateDirectoryA((tree_ / "sub").c_str(), nullptr));
  ASSERT_TRUE(harness::WriteTextFile(tree_ / "sub\\inner.tmp", "x"));
  swapTarget = harness::UnixPath(NoSlash(outside_ / "linked"));
  deletion::FileWalk walk;
  walk.subfolders = true;
  walk.removeSubfolders = true;
  deletion::FileSnapshot seen;
  deletion::CountFiles(tree_.path(), walk, &seen);
  walk.beforeEnter = SwapForLink;
  deletion::DeleteFiles(tree_.path(), walk, seen);
  EXPECT_EQ(tree_ / "sub", swapped);
  EXPECT_TRUE(Exists(outside_ / "linked\\precious.tmp"));
  EXPECT_TRUE(Exists(tree_ / "sub-moved\\inner.tmp"));
  EXPECT_FALSE(Exists(tree_ / "a.tmp"));
}

}  // namespace
