// The real orvane.vkp in a program folder of the test's own, loaded by the test driver as
// the host loads it, with TMP and TEMP pointing at a temporary folder of the test.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "plugins/standard/tests/CacheFixture.h"
#include "plugins/standard/tests/RecordDump.h"
#include "tests/harness/Harness.h"

namespace plugintest {

constexpr DWORD kTimeoutMs = 20000;

// Sets an environment variable (null removes it) and puts the old value back.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value);
  ~ScopedVariable();
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  std::string name_;
  std::string old_;
  bool had_ = false;
};

struct Dump {
  dump::Header header{};
  std::vector<dump::Item> items;
  std::string Text(int item, int offset) const;
  long long Number(int item, int offset) const;
};
bool ReadDump(const std::string& file, Dump& result);

class PluginFolder : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string Program() const { return program_.path(); }
  std::string Temp() const;  // the temporary folder, without a trailing backslash
  std::string Ini() const { return program_ / "plugins.ini"; }
  // The driver's command line: its quoted path and the arguments.
  std::string DriverLine(const std::string& arguments) const;
  // Runs the driver to its end; false when it did not end well.
  bool RunDriver(const std::string& arguments);
  bool Load(Dump& dump) const { return ReadDump(program_ / "load.bin", dump); }
  bool Done(Dump& dump) const { return ReadDump(program_ / "done.bin", dump); }
  harness::TempFolder program_;
  harness::TempFolder temp_;
  std::unique_ptr<ScopedVariable> tmp_, tempVariable_;
};

}  // namespace plugintest
