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
  EXPECT_TRUE(back.problems.empty());
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
    EXPECT_FALSE(contents.problems.empty()) << c.bytes.size();
  }
}

TEST(BackupFile, ReportsRecordsOfNoStartupTypeAndKeepsThem) {
  AssertionCatcher assertions;
  const std::string bytes("\x01\0\0\0\x2A\0\0\0\x01\0\0\0n\0d\0", 16);
  const BackupFileContents contents = parseBackupFile(bytes);
  ASSERT_EQ(1u, contents.entries.size());
  EXPECT_EQ(42, contents.entries[0].getType());
  ASSERT_EQ(1u, contents.problems.size());
  EXPECT_NE(std::string::npos, contents.problems[0].find("type 42"));
  // Written back unchanged: nothing the user had is dropped.
  EXPECT_EQ(bytes, serialiseBackupFile(contents.entries));
}

}  // namespace
