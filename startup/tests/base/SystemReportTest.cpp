#include "startup/platform/errorresources/SystemReport.h"

#include <gtest/gtest.h>

#include "startup/platform/errorresources/Exceptions.h"
#include "startup/tests/base/AssertionRecorder.h"

namespace {

using errorresources::SystemReportSource;

class FixedSource : public SystemReportSource {
 public:
  std::vector<int> types() const override { return {7, 0, 5}; }  // listed ascending
  std::string typeName(int type) const override {
    return type == 0 ? "LM_RUN_ALWAYS" : type == 5 ? "CU_RUN_ALWAYS" : "LM_RUN_AUTOSTART";
  }
  std::vector<std::pair<std::string, std::string>> entries(int type) const override {
    if (type == 0) return {{"Tray", "C:\\tray.exe /min"}, {"Empty", ""}};
    if (type == 7)
      throw products::stelmar::database::AutostartDatabaseException(
          "The autostart folder could not be set up.\nSystem error message: x\r\n");
    return {};
  }
};

TEST(SystemReport, ListsEveryTypeAndShowsAFailedListingInItsPlace) {
  EXPECT_EQ(
      "### General Information ###\n"
      "Product name: stelmar\n"
      "Version number: 2.11\n"
      "Operating System: Windows NT 5.1\n"
      "\n"
      "### Startup Entries ###\n"
      "[LM_RUN_ALWAYS]\n"
      "Tray C:\\tray.exe /min\n"
      "Empty \n"
      "\n"
      "[CU_RUN_ALWAYS]\n"
      "\n"
      "[LM_RUN_AUTOSTART]\n"
      "An exception occured when getting entries.\n"
      "The autostart folder could not be set up.\nSystem error message: x\r\n"
      "\n",
      errorresources::buildSystemReport("stelmar", "2.11", "Windows NT 5.1", FixedSource()));
}

TEST(SystemReport, NamesTheOperatingSystem) {
  struct Case {
    int platform;
    unsigned long major, minor;
    const char* name;
  };
  const Case cases[] = {
      {0, 3, 10, "Windows 3.1"},       {1, 4, 0, "Windows 95"},
      {1, 4, 10, "Windows 98"},        {1, 4, 90, "Windows 98"},
      {2, 4, 0, "Windows NT 4.0"},     {2, 5, 1, "Windows NT 5.1"},
      {2, 10, 0, "Windows NT 10.0"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.name, errorresources::windowsVersionName(c.platform, c.major, c.minor)) << c.name;

  testing_support::AssertionRecorder recorder;
  EXPECT_EQ("", errorresources::windowsVersionName(3, 1, 0));
  EXPECT_EQ(std::vector<std::string>{"false"}, recorder.conditions);
}

}  // namespace
