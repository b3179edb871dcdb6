#include "startup/platform/errorresources/ApplicationReporter.h"

#include <windows.h>

#include <utility>

#include "startup/io/file/FileHelper.h"
#include "startup/platform/errorresources/Exceptions.h"

namespace errorresources {

const char* const ApplicationReporter::DEBUG_FILE_NAME = "smr_debug.txt";

namespace {

const char* const OPENING =
    "An assertion failed. This happens when something goes wrong in the program.\n";
const char* const COPY_THIS_TEXT =
    "Please help us to improve our program by emailing us the text in this message box.\n"
    "Press CTRL+C to copy this text. Thank you!\n\n";
const char* const DEBUG_FILE_CREATED =
    "A debug file has been created. Please help us to improve our program by emailing\n"
    "us the debug file ";
const char* const DEBUG_FILE_FAILED =
    "Could not create the debug file. Please help us to improve our program by emailing\n"
    "us the text in this message box. Press CTRL+C to copy this text. Thank you!\n\n"
    "Debug file error:\n";

// The current directory with its trailing backslash; empty when it cannot be read.
std::string currentFolder() {
  char buffer[MAX_PATH + 1];
  const DWORD length = ::GetCurrentDirectoryA(sizeof buffer, buffer);
  if (length == 0 || length >= sizeof buffer) return std::string();
  std::string folder(buffer, length);
  if (folder.back() != '\\') folder += '\\';
  return folder;
}

}  // namespace

ApplicationReporter::ApplicationReporter(std::string productName, std::string version, Show show)
    : _productName(std::move(productName)), _version(std::move(version)), _show(std::move(show)) {}

std::string ApplicationReporter::contactText() const { return SUPPORT_CONTACT; }

std::string ApplicationReporter::buildMessage(const std::string& report) const {
  const std::string body = "Assertion in " + _productName + " " + _version + "\n" + report;
  std::string shown = OPENING;
  if (_header.empty()) return shown + COPY_THIS_TEXT + body;
  try {
    io::file::FileHelper::save(DEBUG_FILE_NAME, _header + "### Assertion ###\n" + body + "\n\n\n",
                               true);
    shown += DEBUG_FILE_CREATED + currentFolder() + DEBUG_FILE_NAME + "\n\nThank you!";
  } catch (const exceptions::Exception& failure) {
    shown += DEBUG_FILE_FAILED + failure.getMessage() + "\n\n" + body;
  }
  return shown;
}

std::string ApplicationReporter::summary(int count, const std::string& file) {
  const std::string checks =
      count == 1 ? std::string("one internal check") : std::to_string(count) + " internal checks";
  return "While the program started, " + checks +
         " failed. The program went on; the reports were written to the file\n" + file +
         "\n\nPlease help us to improve our program by emailing us that file. Thank you!";
}

void ApplicationReporter::holdReports() { _holding = true; }

void ApplicationReporter::releaseReports() {
  if (!_holding) return;
  _holding = false;
  const int held = std::exchange(_held, 0);
  if (held > 0 && _show) _show(OPENING + summary(held, currentFolder() + ASSERTION_FILE_NAME));
}

void ApplicationReporter::report(const std::string& text) {
  if (_holding) {
    ++_held;
    writeBuiltInReport("Assertion in " + _productName + " " + _version + "\n" + text);
    return;
  }
  // A check that fails while a report is being made or shown must not start another one
  // (a second message box over the first, or an endless chain): it goes to the built-in
  // report file instead.
  if (_reporting) {
    writeBuiltInReport(text);
    return;
  }
  _reporting = true;
  try {
    const std::string message = buildMessage(text);
    if (_show) _show(message);
  } catch (...) {
    _reporting = false;
    throw;
  }
  _reporting = false;
}

}  // namespace errorresources
