#include "plugins/standard/tests/PluginFixture.h"

#include <cstring>
#include <fstream>

namespace plugintest {

ScopedVariable::ScopedVariable(const char* name, const char* value) : name_(name) {
  std::vector<char> old(32767);
  const DWORD n = GetEnvironmentVariableA(name, old.data(), static_cast<DWORD>(old.size()));
  had_ = n > 0 && n < old.size();
  if (had_) old_.assign(old.data(), n);
  SetEnvironmentVariableA(name, value);
}

ScopedVariable::~ScopedVariable() {
  SetEnvironmentVariableA(name_.c_str(), had_ ? old_.c_str() : nullptr);
}

std::string Dump::Text(int item, int offset) const {
  const unsigned char* raw = items.at(static_cast<size_t>(item)).raw + offset;
  const size_t limit = static_cast<size_t>(dump::kRawSize - offset);
  return std::string(reinterpret_cast<const char*>(raw), strnlen(reinterpret_cast<const char*>(raw), limit));
}

long long Dump::Number(int item, int offset) const {
  long long value = 0;
  std::memcpy(&value, items.at(static_cast<size_t>(item)).raw + offset, sizeof value);
  return value;
}

bool ReadDump(const std::string& file, Dump& result) {
  std::ifstream in(file, std::ios::binary);
  if (!in.read(reinterpret_cast<char*>(&result.header), sizeof result.header)) return false;
  if (result.header.itemCount < 0 || result.header.itemCount > 100) return false;
  result.items.resize(static_cast<size_t>(result.header.itemCount));
  for (dump::Item& item : result.items)
    if (!in.read(reinterpret_cast<char*>(&item), sizeof item)) return false;
  return true;
}

void PluginFolder::SetUp() {
  ASSERT_TRUE(harness::CopyFromBuild("orvane_driver.exe", program_.path()));
  ASSERT_TRUE(harness::CopyFromBuild("orvane.vkp", program_.path()));
  tmp_ = std::make_unique<ScopedVariable>("TMP", Temp().c_str());
  tempVariable_ = std::make_unique<ScopedVariable>("TEMP", Temp().c_str());
  cachefixture::Clear();
}

void PluginFolder::TearDown() {
  cachefixture::Clear();
  tempVariable_.reset();
  tmp_.reset();
}

std::string PluginFolder::Temp() const {
  std::string path = temp_.path();
  path.pop_back();
  return path;
}

std::string PluginFolder::DriverLine(const std::string& arguments) const {
  return "\"" + program_.path() + "orvane_driver.exe\"" + (arguments.empty() ? "" : " ") + arguments;
}

bool PluginFolder::RunDriver(const std::string& arguments) {
  harness::Process driver(DriverLine(arguments));
  if (!driver.started()) return false;
  const harness::ProcessResult result = driver.Wait(kTimeoutMs);
  return result.ended && result.exitCode == 0;
}

}  // namespace plugintest
