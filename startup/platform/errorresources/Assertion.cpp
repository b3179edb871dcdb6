#include "startup/platform/errorresources/Assertion.h"

#include <ctime>
#include <fstream>
#include <iostream>

namespace errorresources {

const char* const ASSERTION_FILE_NAME = "assertion.txt";
const char* const SUPPORT_CONTACT = "the Varnick team (see \"Reporting a problem\" in manual.html)";

namespace {

const char* const FRAME = "----------------------------------------";

AssertionReporter* installedReporter = nullptr;

std::string localDateTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  if (localtime_s(&local, &now) != 0) return std::string();
#else
  if (!localtime_r(&now, &local)) return std::string();
#endif
  char text[64];
  const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return std::string(text, length);
}

}  // namespace

AssertionReporter* setAssertionReporter(AssertionReporter* reporter) {
  AssertionReporter* const previous = installedReporter;
  installedReporter = reporter;
  return previous;
}

std::string buildAssertionReport(const std::string& condition, const std::string& file, int line,
                                 const std::string& contact, const std::string& occurred) {
  std::string report;
  report += FRAME;
  report += "\nAssertion failed. Message: " + condition;
  report += "\nFile: " + file;
  report += "\nLine: " + std::to_string(line);
  report += "\nOccurred: " + occurred;
  report += "\nPlease contact " + contact + " and include this message.";
  report += "\nThank you for helping us improve the software.\n";
  report += FRAME;
  report += "\n";
  return report;
}

void writeBuiltInReport(const std::string& report) noexcept {
  try {
    std::cerr << report;
    std::cerr.flush();
    // A report that cannot be written is lost quietly: the check itself must not fail.
    // Text mode: on Windows the file gets CR LF line ends, as a text file there should.
    std::ofstream out(ASSERTION_FILE_NAME, std::ios::app);
    if (out) out << report;
  } catch (...) {
  }
}

void assertion(const char* condition, const char* file, int line) noexcept {
  try {
    AssertionReporter* const reporter = installedReporter;
    const std::string contact = reporter ? reporter->contactText() : std::string(SUPPORT_CONTACT);
    const std::string report = buildAssertionReport(condition ? condition : "", file ? file : "",
                                                    line, contact, localDateTime());
    if (reporter) {
      reporter->report(report);
      return;
    }
    writeBuiltInReport(report);
  } catch (...) {
    // Reporting a failed check must never end the program (out of memory, a reporter
    // that throws): the work goes on as after any other failed check.
  }
}

}  // namespace errorresources
