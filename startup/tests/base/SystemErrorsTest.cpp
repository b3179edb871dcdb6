#include "startup/platform/errorresources/SystemErrors.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

class TableMapper : public ErrorMapper {
 public:
  bool map(int errorCode, std::string& text) const override {
    if (errorCode != 777001) return false;
    text = "The plug-in table is full.";
    return true;
  }
};

TEST(SystemErrors, GivesTheSystemsMessageForAKnownCode) {
  const std::string text = SystemErrors::map(ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(0u, text.find("System error message: ")) << text;
  EXPECT_GT(text.size(), std::string("System error message: ").size() + 5) << text;
  EXPECT_EQ(std::string::npos, text.find("was not found.")) << text;
}

TEST(SystemErrors, UsesTheFallbackOnlyForCodesTheSystemLacks) {
  const TableMapper fallback;
  EXPECT_EQ("System error message: The plug-in table is full.\r\n",
            SystemErrors::map(777001, &fallback));
  EXPECT_EQ(SystemErrors::map(ERROR_ACCESS_DENIED), SystemErrors::map(ERROR_ACCESS_DENIED, &fallback));
}

TEST(SystemErrors, NamesAnUnknownCode) {
  const TableMapper fallback;
  EXPECT_EQ("System error message: The string representation of the error code [777002] was "
            "not found.\r\n",
            SystemErrors::map(777002, &fallback));
  EXPECT_EQ("System error message: The string representation of the error code [-7] was "
            "not found.\r\n",
            SystemErrors::map(-7));
}

}  // namespace
