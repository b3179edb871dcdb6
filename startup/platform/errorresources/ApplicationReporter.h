// The application's assertion reporter: turns a report into the text of an error message
// box and, when the application has set a header (the system report), appends header and
// report to the debug file "smr_debug.txt" in the current directory.
#pragma once

#include <functional>
#include <string>

#include "startup/platform/errorresources/Assertion.h"

namespace errorresources {

class ApplicationReporter : public AssertionReporter {
 public:
  static const char* const DEBUG_FILE_NAME;  // "smr_debug.txt"

  // `show` puts a text in front of the user (the application's error message box).
  using Show = std::function<void(const std::string& text)>;
  ApplicationReporter(std::string productName, std::string version, Show show);

  void setHeader(const std::string& header) { _header = header; }
  const std::string& getHeader() const { return _header; }

  std::string contactText() const override;
  // Builds the message (writing the debug file as a side effect) and shows it; while the
  // reports are held, appends the report to "assertion.txt" instead.
  void report(const std::string& text) override;
  // Before the main window shows, a message box would come from nowhere (and one per
  // report): the reports are held, written to "assertion.txt" and counted, until
  // releaseReports shows one summary of them, if there were any.
  void holdReports();
  void releaseReports();
  // The summary of `count` held reports written to `file`.
  static std::string summary(int count, const std::string& file);
  // The message for a report; appends to the debug file when there is a header.
  std::string buildMessage(const std::string& report) const;

 private:
  std::string _productName;
  std::string _version;
  Show _show;
  std::string _header;
  bool _reporting = false;
  bool _holding = false;
  int _held = 0;
};

}  // namespace errorresources
