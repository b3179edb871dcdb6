// Test helper: catches the reports of failed checks while it lives, instead of writing
// "assertion.txt".
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "startup/platform/errorresources/Assertion.h"

class AssertionCatcher : public errorresources::AssertionReporter {
 public:
  AssertionCatcher() : previous_(errorresources::setAssertionReporter(this)) {}
  ~AssertionCatcher() override { errorresources::setAssertionReporter(previous_); }
  AssertionCatcher(const AssertionCatcher&) = delete;
  AssertionCatcher& operator=(const AssertionCatcher&) = delete;

  std::string contactText() const override { return "tests"; }
  void report(const std::string& text) override { reports_.push_back(text); }

  // Reports whose condition text is exactly `condition`.
  std::size_t count(const std::string& condition) const {
    const std::string line = "Assertion failed. Message: " + condition + "\n";
    return std::count_if(reports_.begin(), reports_.end(),
                         [&](const std::string& r) { return r.find(line) != std::string::npos; });
  }
  // Reports whose condition text contains `part`.
  std::size_t countContaining(const std::string& part) const {
    return std::count_if(reports_.begin(), reports_.end(),
                         [&](const std::string& r) { return r.find(part) != std::string::npos; });
  }
  std::size_t total() const { return reports_.size(); }
  const std::vector<std::string>& reports() const { return reports_; }

 private:
  errorresources::AssertionReporter* previous_;
  std::vector<std::string> reports_;
};
