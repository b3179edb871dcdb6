#include <gtest/gtest.h>

#include "startup/StartupConstants.h"
#include "startup/database/BackupFile.h"
#include "startup/tests/store/AssertionCatcher.h"

namespace {

using products::stelmar::StartupItem;
using products::stelmar::database::BackupFileContents;
using products::stelmar::database::parseBackupFile;
using products::stelmar::database::serialiseBackupFile;

const int DISABLED = products::stelmar::StartupConstants::DISABLED;

std::vector<StartupItem> twoEntries() {
  return {StartupItem(0, DISABLED, "First", "C:\\a.exe -x"),
          StartupItem(5, DISABLED, "Second", "")};
}

TEST(BackupFile, WritesCountAndRecords) {
  EXPECT_EQ(std::string(4, '\0'), serialiseBackupFile({}));
  const std::string bytes = serialiseBackupFile(twoEntries());
  EXPECT_EQ(std::string("\x02\0\0\0"
                        "\0\0\0\0\x01\0\0\0First\0C:\\a.exe -x\0"
                        "\x05\0\0\0\x01\0\0\0Second\0\0",
                        4 + 26 + 16),
            bytes);
  const BackupFileContents back = parseBackupFile(bytes);
  EXPECT_FALSE(back.damaged());
  ASSERT_EQ(2u, back.entries.size());
  EXPECT_EQ("C:\\a.exe -x", back.entries[0].getData());
  EXPECT_EQ("Second", back.entries[1].getName());
  EXPECT_EQ(bytes, serialiseBackupFile(back.entries));
}

TEST(BackupFile, DamagedFilesKeepTheWholeRecords) {
  const std::string whole = serialiseBackupFile(twoEntries());
  const std::size_t firstEnd = 4 + 26;
  struct Case {
    std::string bytes;
    std::size_t records;
  };
  std::string lyingCount = whole;
  lyingCount[0] = 7;
  std::string negativeCount = whole;
  negativeCount[3] = '\x80';
  const Case cases[] = {
      {"", 0},
      {std::string("\x01\0\0", 3), 0},
      {std::string("\x01\0\0\0", 4), 0},
      {lyingCount, 2},
      {negativeCount, 0},
      {whole.substr(0, firstEnd), 1},
      {whole.substr(0, firstEnd + 9), 1},      // the second record's name has no zero byte
      {whole.substr(0, whole.size() - 1), 1},  // the last data has no zero byte
      {whole + "extra", 2},
  };
  for (const Case& c : cases) {
    // A copy of exactly the file's size: the sanitizers catch any read past it.
    const std::string bytes(c.bytes.begin(), c.bytes.end());
    const BackupFileContents contents = parseBackupFile(bytes);
    EXPECT_EQ(c.records, contents.entries.size()) << c.bytes.size();
    EXPECT_TRUE(contents.damaged()) << c.bytes.size();
  }
}

TEST(BackupFile, KeepsForeignRecordsAsDisabledEntriesWithoutAReportEach) {
  AssertionCatcher assertions;
  // Type 42 in the disabled state; type 5 claiming the enabled state; type 7 claiming 9.
  const std::string bytes(
      "\x03\0\0\0\x2A\0\0\0\x01\0\0\0n\0d\0"
      "\x05\0\0\0\0\0\0\0e\0\0\x07\0\0\0\x09\0\0\0f\0\0",
      38);
  const BackupFileContents contents = parseBackupFile(bytes);
  ASSERT_EQ(3u, contents.entries.size());
  EXPECT_EQ(42, contents.entries[0].getType());
  EXPECT_EQ(3u, contents.problemCount);
  EXPECT_NE(std::string::npos, contents.firstProblem.find("type 42"));
  for (const StartupItem& item : contents.entries) {
    EXPECT_EQ(DISABLED, item.getState());
    EXPECT_FALSE(item.isChanged());
  }
  EXPECT_EQ(0u, assertions.total());
  // Written back as disabled records: nothing the user had is dropped.
  EXPECT_EQ(
      bytes.substr(0, 16) + std::string("\x05\0\0\0\x01\0\0\0e\0\0\x07\0\0\0\x01\0\0\0f\0\0", 22),
      serialiseBackupFile(contents.entries));
}

TEST(BackupFile, RecordsOfThe32BitViewLoadAsTheyAreSaved) {
  const std::vector<StartupItem> entries = {StartupItem(11, DISABLED, "a", "C:\\a.exe"),
                                            StartupItem(12, DISABLED, "b", "C:\\b.exe")};
  const BackupFileContents contents = parseBackupFile(serialiseBackupFile(entries));
  EXPECT_FALSE(contents.damaged());
  ASSERT_EQ(2u, contents.entries.size());
  EXPECT_EQ(11, contents.entries[0].getType());
  EXPECT_EQ(12, contents.entries[1].getType());
}

}  // namespace
