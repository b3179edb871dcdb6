// Catches the assertions of one test instead of letting them write "assertion.txt".
#pragma once

#include <string>
#include <vector>

#include "startup/platform/errorresources/Assertion.h"

namespace testing_support {

class AssertionRecorder : public errorresources::AssertionReporter {
 public:
  AssertionRecorder() : _previous(errorresources::setAssertionReporter(this)) {}
  ~AssertionRecorder() override { errorresources::setAssertionReporter(_previous); }
  AssertionRecorder(const AssertionRecorder&) = delete;
  AssertionRecorder& operator=(const AssertionRecorder&) = delete;

  std::string contactText() const override { return "tests"; }
  void report(const std::string& text) override {
    const std::string marker = "Assertion failed. Message: ";
    const std::size_t start = text.find(marker) + marker.size();
    conditions.push_back(text.substr(start, text.find('\n', start) - start));
  }

  std::vector<std::string> conditions;

 private:
  errorresources::AssertionReporter* _previous;
};

}  // namespace testing_support
