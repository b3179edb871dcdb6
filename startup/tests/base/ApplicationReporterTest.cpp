#include "startup/platform/errorresources/ApplicationReporter.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "startup/io/file/FileHelper.h"
#include "tests/harness/Harness.h"

namespace {

using errorresources::ApplicationReporter;

// Runs each case with a fresh current directory, where the debug file is written.
class ApplicationReport : public ::testing::Test {
 protected:
  void SetUp() override {
    char buffer[MAX_PATH + 1];
    previous_.assign(buffer, GetCurrentDirectoryA(sizeof buffer, buffer));
    ASSERT_TRUE(SetCurrentDirectoryA(folder_.path().c_str()));
  }
  void TearDown() override { SetCurrentDirectoryA(previous_.c_str()); }
  std::vector<std::string> shown;
  ApplicationReporter reporter{"stelmar", "2.11",
                               [this](const std::string& text) { shown.push_back(text); }};
  harness::TempFolder folder_;

 private:
  std::string previous_;
};

const std::string REPORT = "----\nAssertion failed. Message: false\n----\n";

TEST_F(ApplicationReport, WithoutHeaderAsksToCopyTheText) {
  reporter.report(REPORT);
  ASSERT_EQ(1u, shown.size());
  EXPECT_EQ("An assertion failed. This happens when something goes wrong in the program.\n"
            "Please help us to improve our program by emailing us the text in this message box.\n"
            "Press CTRL+C to copy this text. Thank you!\n\n"
            "Assertion in stelmar 2.11\n" + REPORT,
            shown[0]);
  EXPECT_FALSE(harness::FileExists(folder_ / "smr_debug.txt"));
}

TEST_F(ApplicationReport, WithHeaderAppendsToTheDebugFile) {
  reporter.setHeader("### General Information ###\n");
  reporter.report(REPORT);
  reporter.report(REPORT);
  ASSERT_EQ(2u, shown.size());
  EXPECT_EQ("An assertion failed. This happens when something goes wrong in the program.\n"
            "A debug file has been created. Please help us to improve our program by emailing\n"
            "us the debug file " + folder_.path() + "smr_debug.txt\n\nThank you!",
            shown[1]);
  const std::string block = "### General Information ###\n### Assertion ###\n"
                            "Assertion in stelmar 2.11\n" + REPORT + "\n\n\n";
  EXPECT_EQ(block + block, io::file::FileHelper::load(folder_ / "smr_debug.txt"));
}

TEST_F(ApplicationReport, ADebugFileThatCannotBeWrittenIsNamedInTheText) {
  ASSERT_TRUE(CreateDirectoryA((folder_ / "smr_debug.txt").c_str(), nullptr));
  reporter.setHeader("header\n");
  reporter.report(REPORT);
  ASSERT_EQ(1u, shown.size());
  const std::string start =
      "An assertion failed. This happens when something goes wrong in the program.\n"
      "Could not create the debug file. Please help us to improve our program by emailing\n"
      "us the text in this message box. Press CTRL+C to copy this text. Thank you!\n\n"
      "Debug file error:\nAn error occurred when trying to open the file for writing.\n"
      "Filename: 'smr_debug.txt'";
  EXPECT_EQ(0u, shown[0].find(start)) << shown[0];
  const std::string end = "\n\nAssertion in stelmar 2.11\n" + REPORT;
  EXPECT_EQ(shown[0].size() - end.size(), shown[0].rfind(end)) << shown[0];
}

TEST_F(ApplicationReport, InstalledItReceivesFailedChecks) {
  errorresources::AssertionReporter* const before = errorresources::setAssertionReporter(&reporter);
  STELMAR_ASSERT(2 < 1);
  errorresources::setAssertionReporter(before);
  ASSERT_EQ(1u, shown.size());
  EXPECT_NE(std::string::npos, shown[0].find("Assertion in stelmar 2.11\n-----"));
  EXPECT_NE(std::string::npos, shown[0].find("Assertion failed. Message: 2 < 1\n"));
  EXPECT_FALSE(harness::FileExists(folder_ / "assertion.txt"));
}

TEST_F(ApplicationReport, ACheckFailingWhileAReportIsShownGoesToTheReportFile) {
  ApplicationReporter nested{"stelmar", "2.11", [&](const std::string& text) {
                               shown.push_back(text);
                               STELMAR_ASSERT(1 > 2);
                             }};
  errorresources::AssertionReporter* const before = errorresources::setAssertionReporter(&nested);
  STELMAR_ASSERT(2 < 1);
  errorresources::setAssertionReporter(before);
  ASSERT_EQ(1u, shown.size());
  const std::string written = harness::ReadTextFile(folder_ / "assertion.txt");
  EXPECT_NE(std::string::npos, written.find("Assertion failed. Message: 1 > 2"));
  EXPECT_EQ(std::string::npos, written.find("2 < 1"));
}

TEST_F(ApplicationReport, HeldReportsGoToTheReportFileAndAreSummedUpOnce) {
  reporter.holdReports();
  reporter.report(REPORT);
  reporter.report(REPORT);
  EXPECT_TRUE(shown.empty());
  // A text file: CR LF line ends.
  const std::string block = "Assertion in stelmar 2.11\r\n----\r\nAssertion failed. Message: false\r\n----\r\n";
  EXPECT_EQ(block + block, harness::ReadTextFile(folder_ / "assertion.txt"));
  reporter.releaseReports();
  reporter.releaseReports();
  ASSERT_EQ(1u, shown.size());
  EXPECT_EQ("An assertion failed. This happens when something goes wrong in the program.\n" +
                ApplicationReporter::summary(2, folder_ / "assertion.txt"),
            shown[0]);
  // Released, a report is shown at once again.
  reporter.report(REPORT);
  EXPECT_EQ(2u, shown.size());
}

}  // namespace
