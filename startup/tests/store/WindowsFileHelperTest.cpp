#include <gtest/gtest.h>

#include <algorithm>

#include "startup/platform/errorresources/Exceptions.h"
#include "startup/platform/errorresources/SystemErrors.h"
#include "startup/tests/store/StoreFixtures.h"
#include "startup/windows/file/WindowsFileHelper.h"
#include "tests/harness/Harness.h"

namespace {

using windows::file::WindowsFileHelper;

std::string sys(DWORD code) { return SystemErrors::map(static_cast<int>(code)); }

class WindowsFileHelperTest : public ::testing::Test {
 protected:
  harness::TempFolder folder;
};

TEST_F(WindowsFileHelperTest, CreatesFolders) {
  WindowsFileHelper::createDirectory(folder / "new");
  WindowsFileHelper::createDirectory(folder / "new");
  EXPECT_TRUE(harness::FileExists(folder / "new"));
  try {
    WindowsFileHelper::createDirectory(folder / "missing\\new");
    FAIL() << "created";
  } catch (const windows::file::CouldNotCreateDirectoryException& e) {
    EXPECT_EQ("Could not create the directory: " + (folder / "missing\\new") + ". " +
                  sys(ERROR_PATH_NOT_FOUND),
              e.getMessage());
  }
}

TEST_F(WindowsFileHelperTest, MovesWithoutOverwriting) {
  harness::WriteTextFile(folder / "a", "a");
  harness::WriteTextFile(folder / "b", "b");
  try {
    WindowsFileHelper::moveFile(folder / "a", folder / "b");
    FAIL() << "moved";
  } catch (const windows::file::CouldNotMoveFileException& e) {
    EXPECT_EQ("Couldn't move the file: " + (folder / "a") + " to " + (folder / "b") + "\n" +
                  sys(ERROR_ALREADY_EXISTS),
              e.getMessage());
  }
  EXPECT_EQ("b", harness::ReadTextFile(folder / "b"));
  WindowsFileHelper::moveFile(folder / "a", folder / "c");
  EXPECT_EQ("a", harness::ReadTextFile(folder / "c"));
  EXPECT_FALSE(harness::FileExists(folder / "a"));
}

TEST_F(WindowsFileHelperTest, DeletesFiles) {
  harness::WriteTextFile(folder / "a", "a");
  WindowsFileHelper::deleteFile(folder / "a", true);
  EXPECT_FALSE(harness::FileExists(folder / "a"));
  WindowsFileHelper::deleteFile(folder / "a", false);
  try {
    WindowsFileHelper::deleteFile(folder / "a", true);
    FAIL() << "deleted";
  } catch (const windows::file::CouldNotDeleteFileException& e) {
    EXPECT_EQ("Couldn't delete the file: " + (folder / "a") + "\n" + sys(ERROR_FILE_NOT_FOUND),
              e.getMessage());
  }
  harness::WriteTextFile(folder / "locked", "x");
  storetests::HeldFile held(folder / "locked");
  EXPECT_THROW(WindowsFileHelper::deleteFile(folder / "locked", false),
               windows::file::CouldNotDeleteFileException);
}

TEST_F(WindowsFileHelperTest, TellsWhetherAProgramIsFound) {
  harness::WriteTextFile(folder / "tool.exe", "MZ");
  struct Case {
    std::string path;
    bool found;
  };
  const Case cases[] = {
      {folder / "tool.exe", true},
      {"\"" + (folder / "tool.exe") + "\" -a", true},
      {(folder / "tool.exe") + " -a", true},
      {folder / "other.exe", false},
      {"notepad.exe", true},
      {"rundll32.exe shell32.dll,Control_RunDLL", true},
      {"surely-not-there-42.exe", false},
      {"C:\\no\\such\\folder\\x.exe", false},
      {"", false},
      {folder.path(), false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.found, WindowsFileHelper::fileExists(c.path)) << c.path;
}

TEST_F(WindowsFileHelperTest, ListsTheFilesOfAFolder) {
  EXPECT_TRUE(WindowsFileHelper::getFirstLevelFiles(folder.path(), "*.*").empty());
  harness::WriteTextFile(folder / "one.lnk", "1");
  harness::WriteTextFile(folder / "two.txt", "2");
  ::CreateDirectoryA((folder / "sub").c_str(), nullptr);
  harness::WriteTextFile(folder / "sub\\three.lnk", "3");
  std::string withoutBackslash = folder.path();
  withoutBackslash.pop_back();
  std::vector<std::string> files = WindowsFileHelper::getFirstLevelFiles(withoutBackslash, "*.*");
  std::sort(files.begin(), files.end());
  EXPECT_EQ(std::vector<std::string>({folder / "one.lnk", folder / "two.txt"}), files);
  EXPECT_EQ(std::vector<std::string>({folder / "one.lnk"}),
            WindowsFileHelper::getFirstLevelFiles(folder.path(), "*.lnk"));
  try {
    WindowsFileHelper::getFirstLevelFiles(folder / "missing", "*.*");
    FAIL() << "listed";
  } catch (const windows::file::CouldNotGetFirstLevelFilesException& e) {
    EXPECT_EQ(
        "Error when trying to get first level directories. \nThe error occured when "
        "opening a find file handle. Initial directory: " +
            (folder / "missing\\") + "\n\n" + sys(ERROR_PATH_NOT_FOUND),
        e.getMessage());
  }
}

}  // namespace
