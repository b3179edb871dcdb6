#include "startup/platform/errorresources/Assertion.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;
using errorresources::AssertionReporter;

// Runs each case in a fresh current directory, where "assertion.txt" is written.
class AssertionReport : public ::testing::Test {
 protected:
  void SetUp() override {
    _previous = fs::current_path();
    std::random_device random;
    _folder = fs::temp_directory_path() / ("stelmar-assert-" + std::to_string(random()));
    fs::create_directories(_folder);
    fs::current_path(_folder);
  }
  void TearDown() override {
    fs::current_path(_previous);
    std::error_code ignored;
    fs::remove_all(_folder, ignored);
  }
  static std::string assertionFile() {
    std::ifstream in(errorresources::ASSERTION_FILE_NAME, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  fs::path _previous;
  fs::path _folder;
};

class RecordingReporter : public AssertionReporter {
 public:
  std::string contactText() const override { return "help@example.test"; }
  void report(const std::string& text) override {
    ++calls;
    last = text;
  }
  int calls = 0;
  std::string last;
};

// On Windows the file is a text file with CR LF line ends.
std::string asWritten(std::string text) {
#ifdef _WIN32
  std::string crlf;
  for (char c : text) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  return crlf;
#else
  return text;
#endif
}

TEST_F(AssertionReport, BuildsTheFramedReport) {
  EXPECT_EQ(
      "----------------------------------------\n"
      "Assertion failed. Message: _key != 0\n"
      "File: Registry.cpp\n"
      "Line: 42\n"
      "Occurred: 2026-12-08 10:11:12\n"
      "Please contact someone@example.test and include this message.\n"
      "Thank you for helping us improve the software.\n"
      "----------------------------------------\n",
      errorresources::buildAssertionReport("_key != 0", "Registry.cpp", 42,
                                           "someone@example.test", "2026-12-08 10:11:12"));
}

TEST_F(AssertionReport, TwoFailedChecksAppendTwoCompleteReports) {
  const int firstLine = __LINE__ + 1;
  STELMAR_ASSERT(1 + 1 == 3);
  int value = 0;
  STELMAR_ASSERT(value != 0);
  STELMAR_ASSERT(value == 0);  // holds: no report

  const std::string text = assertionFile();
  const std::string contact = std::string("Please contact ") + errorresources::SUPPORT_CONTACT;
  const std::string first = asWritten("Assertion failed. Message: 1 + 1 == 3\nFile: " +
                                      std::string(__FILE__) + "\nLine: " +
                                      std::to_string(firstLine) + "\n");
  const std::string second = asWritten("Assertion failed. Message: value != 0\nFile: " +
                                       std::string(__FILE__) + "\nLine: " +
                                       std::to_string(firstLine + 2) + "\n");
  const std::size_t a = text.find(first);
  const std::size_t b = text.find(second);
  ASSERT_NE(std::string::npos, a) << text;
  ASSERT_NE(std::string::npos, b) << text;
  EXPECT_LT(a, b);
  const std::string frame = asWritten("----------------------------------------\n");
  EXPECT_EQ(0u, text.find(frame));
  EXPECT_EQ(text.size() - frame.size(), text.rfind(frame));
  // Four frame lines, two reports of eight lines each, nothing else.
  std::size_t frames = 0;
  for (std::size_t at = text.find(frame); at != std::string::npos; at = text.find(frame, at + 1))
    ++frames;
  EXPECT_EQ(4u, frames);
  EXPECT_NE(std::string::npos, text.find(contact));
  std::size_t lines = 0;
  for (char c : text) lines += c == '\n';
  EXPECT_EQ(16u, lines);
}

TEST_F(AssertionReport, AnInstalledReporterReceivesTheReportInsteadOfTheFile) {
  RecordingReporter reporter;
  AssertionReporter* const before = errorresources::setAssertionReporter(&reporter);
  STELMAR_ASSERT(false);
  errorresources::setAssertionReporter(before);

  EXPECT_EQ(1, reporter.calls);
  EXPECT_NE(std::string::npos, reporter.last.find("Assertion failed. Message: false\n"));
  EXPECT_NE(std::string::npos, reporter.last.find("Please contact help@example.test and include"));
  EXPECT_FALSE(fs::exists(errorresources::ASSERTION_FILE_NAME));
}

TEST_F(AssertionReport, AnUnwritableFileIsIgnored) {
  // A folder where the file should be: the report is lost, the program goes on.
  fs::create_directory(errorresources::ASSERTION_FILE_NAME);
  STELMAR_ASSERT(false);
  EXPECT_TRUE(fs::is_directory(errorresources::ASSERTION_FILE_NAME));
}

}  // namespace
