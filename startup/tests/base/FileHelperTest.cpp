#include "startup/io/file/FileHelper.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <sddl.h>

#include "common/Unique.h"
#include "startup/platform/errorresources/Exceptions.h"
#include "tests/harness/Harness.h"

namespace {

using io::file::FileHelper;

// All bytes 0 to 255 twice: line ends and zero bytes must pass unchanged.
std::string binaryBytes() {
  std::string bytes;
  for (int round = 0; round < 2; ++round)
    for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
  return bytes;
}

std::string currentDirectory() {
  char buffer[MAX_PATH + 1];
  const DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
  return std::string(buffer, length);
}

template <typename Failure, typename Action>
std::string failureText(Action action) {
  try {
    action();
  } catch (const Failure& failure) {
    return failure.getMessage();
  }
  ADD_FAILURE() << "no failure";
  return std::string();
}

TEST(FileHelper, SavesAndLoadsBytesUnchanged) {
  harness::TempFolder folder;
  const std::string file = folder / "stelmar.dat";
  FileHelper::save(file, binaryBytes());
  EXPECT_EQ(binaryBytes(), FileHelper::load(file));
  EXPECT_EQ(binaryBytes().substr(0, 3), FileHelper::load(file, 3));
  EXPECT_FALSE(harness::FileExists(FileHelper::temporaryName(file)));

  FileHelper::save(file, "");  // truncates
  EXPECT_EQ("", FileHelper::load(file));
}

// The file's DACL in text form; empty when it cannot be read.
std::string daclText(const std::string& file) {
  BYTE descriptor[4096];
  DWORD needed = 0;
  if (!GetFileSecurityA(file.c_str(), DACL_SECURITY_INFORMATION, descriptor, sizeof descriptor,
                        &needed))
    return std::string();
  char* text = nullptr;
  if (!ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor, SDDL_REVISION_1,
                                                            DACL_SECURITY_INFORMATION, &text,
                                                            nullptr))
    return std::string();
  const std::string result = text;
  LocalFree(text);
  return result;
}

TEST(FileHelper, AReplacedFileKeepsItsAttributesAndProtection) {
  harness::TempFolder folder;
  const std::string file = folder / "stelmar.dat";
  FileHelper::save(file, "old");
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(
      "D:P(A;;FA;;;WD)(A;;FR;;;BU)", SDDL_REVISION_1, &descriptor, nullptr));
  ASSERT_TRUE(SetFileSecurityA(file.c_str(), DACL_SECURITY_INFORMATION, descriptor));
  LocalFree(descriptor);
  ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  const std::string dacl = daclText(file);
  ASSERT_NE("", dacl);

  FileHelper::save(file, "new");
  EXPECT_EQ("new", FileHelper::load(file));
  const DWORD both = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  EXPECT_EQ(both, GetFileAttributesA(file.c_str()) & both);
  EXPECT_EQ(dacl, daclText(file));
  SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FileHelper, AppendsBehindTheOldBytesAndCreatesAMissingFile) {
  harness::TempFolder folder;
  const std::string file = folder / "smr_debug.txt";
  FileHelper::save(file, "first\n", true);
  FileHelper::save(file, "second\n", true);
  EXPECT_EQ("first\nsecond\n", FileHelper::load(file));
}

TEST(FileHelper, LoadFailuresNameTheFileTheFolderAndTheSystemText) {
  harness::TempFolder folder;
  const std::string missing = folder / "missing.cfg";
  const std::string text =
      failureText<io::file::CouldNotLoadFileException>([&] { FileHelper::load(missing); });
  EXPECT_EQ(0u, text.find("An error occurred when trying to open the file for reading.\nFilename: '" +
                          missing + "'\nCurrent Working Directory: " + currentDirectory() +
                          "\nSystem error message: "))
      << text;
  const std::string end = "\nC++ exception: None.";
  EXPECT_EQ(text.size() - end.size(), text.rfind(end)) << text;

  const std::string file = folder / "short.dat";
  FileHelper::save(file, "abc");
  const std::string tooMany =
      failureText<io::IOException>([&] { FileHelper::load(file, 4); });
  EXPECT_EQ(0u, tooMany.find("Tried to read a larger number of bytes from a file that it "
                             "contained. Tried to read : 4 File size: 3\nFilename: '" + file + "'"))
      << tooMany;
}

TEST(FileHelper, ASaveThatCannotReplaceALockedFileLosesNothing) {
  harness::TempFolder folder;
  const std::string file = folder / "stelmar.dat";
  FileHelper::save(file, "old contents");
  {
    // Held open without write or delete sharing, as another program may hold it.
    win::UniqueFile lock(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock);
    const std::string text = failureText<io::file::CouldNotSaveFileException>(
        [&] { FileHelper::save(file, "new contents that never arrive"); });
    EXPECT_EQ(0u, text.find("An error occurred when trying to open the file for writing.\n"
                            "Filename: '" + file + "'"))
        << text;
    EXPECT_NE(std::string::npos, text.find("\nSystem error message: ")) << text;
  }
  EXPECT_EQ("old contents", FileHelper::load(file));
  EXPECT_FALSE(harness::FileExists(FileHelper::temporaryName(file)));
}

TEST(FileHelper, AFolderInPlaceOfTheFileFailsBothWays) {
  harness::TempFolder folder;
  const std::string file = folder / "stelmar.cfg";
  ASSERT_TRUE(CreateDirectoryA(file.c_str(), nullptr));
  failureText<io::file::CouldNotSaveFileException>([&] { FileHelper::save(file, "x"); });
  failureText<io::file::CouldNotSaveFileException>([&] { FileHelper::save(file, "x", true); });
  failureText<io::file::CouldNotLoadFileException>([&] { FileHelper::load(file); });
  EXPECT_NE(0u, GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

struct DiedMidway {};
std::string seenTarget, seenTemporary, targetName;
void dieBeforeReplacing(const std::string& temporary) {
  seenTarget = FileHelper::load(targetName);
  seenTemporary = FileHelper::load(temporary);
  throw DiedMidway();
}

TEST(FileHelper, ASaveThatDiesBeforeReplacingLeavesTheOldFileWhole) {
  harness::TempFolder folder;
  targetName = folder / "stelmar.dat";
  FileHelper::save(targetName, binaryBytes());

  const FileHelper::ReplaceHook before = FileHelper::setBeforeReplaceHook(dieBeforeReplacing);
  EXPECT_THROW(FileHelper::save(targetName, "the new, complete data"), DiedMidway);
  FileHelper::setBeforeReplaceHook(before);

  // When the process died, the new data was complete beside the old file, which was whole.
  EXPECT_EQ(binaryBytes(), seenTarget);
  EXPECT_EQ("the new, complete data", seenTemporary);
  EXPECT_EQ(binaryBytes(), FileHelper::load(targetName));

  // The next save passes over the left-over temporary file.
  FileHelper::save(targetName, "after restart");
  EXPECT_EQ("after restart", FileHelper::load(targetName));
  EXPECT_FALSE(harness::FileExists(FileHelper::temporaryName(targetName)));
}

}  // namespace

namespace {

TEST(FileHelper, ASaveKilledBeforeReplacingLeavesTheOldFileWhole) {
  harness::TempFolder folder;
  const std::string file = folder / "stelmar.dat";
  FileHelper::save(file, binaryBytes());

  const std::string eventName = "stelmar-save-child-" + std::to_string(GetCurrentProcessId());
  win::UniqueHandle ready(CreateEventA(nullptr, TRUE, FALSE, eventName.c_str()));
  ASSERT_TRUE(ready);
  {
    harness::Process child("\"" + harness::BuildFolder() + "stelmar_save_child.exe\" \"" + file +
                           "\" " + eventName + " 3000000");
    ASSERT_TRUE(child.started());
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ready.get(), 60000));
    // The new file is complete beside the old one; the process dies here.
  }
  EXPECT_EQ(binaryBytes(), FileHelper::load(file));
  EXPECT_EQ(3000000u, FileHelper::load(FileHelper::temporaryName(file)).size());

  FileHelper::save(file, "next start");
  EXPECT_EQ("next start", FileHelper::load(file));
  EXPECT_FALSE(harness::FileExists(FileHelper::temporaryName(file)));
}

}  // namespace
