// Non-fatal assertions. A failed check writes a report (to the installed reporter, or to
// the diagnostic output and "assertion.txt" in the current directory) and the program goes
// on with the values as they are. Standard library only: the portable units assert too.
#pragma once

#include <string>

namespace errorresources {

// The application installs one reporter at start-up; without it the built-in report applies.
class AssertionReporter {
 public:
  virtual ~AssertionReporter() = default;
  // Whom the user should send the report to.
  virtual std::string contactText() const = 0;
  virtual void report(const std::string& text) = 0;
};

extern const char* const ASSERTION_FILE_NAME;  // "assertion.txt"
extern const char* const SUPPORT_CONTACT;      // the built-in contact

// Installs a reporter (not owned; null for the built-in behaviour) and returns the one
// installed before.
AssertionReporter* setAssertionReporter(AssertionReporter* reporter);

// The framed report text for a failed check; `occurred` is the local date and time.
std::string buildAssertionReport(const std::string& condition, const std::string& file, int line,
                                 const std::string& contact, const std::string& occurred);

// The built-in report: writes it to the diagnostic output and appends it to
// "assertion.txt" in the current directory. A failure to write is ignored. Never throws.
void writeBuiltInReport(const std::string& report) noexcept;

// Reports a failed check and returns. Never throws.
void assertion(const char* condition, const char* file, int line) noexcept;

}  // namespace errorresources

// Checks `condition`; when it is false, reports its text with the source position.
#define STELMAR_ASSERT(condition) \
  ((condition) ? static_cast<void>(0) : ::errorresources::assertion(#condition, __FILE__, __LINE__))
