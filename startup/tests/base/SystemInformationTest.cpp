#include "startup/platform/errorresources/SystemInformation.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

class NoTypes : public errorresources::SystemReportSource {
 public:
  std::vector<int> types() const override { return {}; }
  std::string typeName(int) const override { return std::string(); }
  std::vector<std::pair<std::string, std::string>> entries(int) const override { return {}; }
};

TEST(SystemInformation, NamesTheRunningSystem) {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_TRUE(GetVersionExA(&info));
  const std::string name = errorresources::currentWindowsVersionName();
  EXPECT_EQ(errorresources::windowsVersionName(static_cast<int>(info.dwPlatformId),
                                               info.dwMajorVersion, info.dwMinorVersion),
            name);
  EXPECT_EQ("### General Information ###\nProduct name: stelmar\nVersion number: 2.11\n"
            "Operating System: " + name + "\n\n### Startup Entries ###\n",
            errorresources::systemReport("stelmar", "2.11", NoTypes()));
}

}  // namespace
