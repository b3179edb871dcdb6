#include "startup/database/KeptValues.h"

#include <gtest/gtest.h>

namespace {

using products::stelmar::database::KeptValue;
using products::stelmar::database::parseKeptValues;
using products::stelmar::database::serialiseKeptValues;

TEST(KeptValues, RoundTripsTypesAndBytesWithZeros) {
  const std::vector<KeptValue> values = {{5, "Tool", 2, std::string("%X%\\t.exe\0", 10)},
                                         {0, "", 1, ""}};
  const std::string bytes = serialiseKeptValues(values);
  EXPECT_EQ(std::string("SKV1\x02\0\0\0"
                        "\x05\0\0\0\x02\0\0\0\x04\0\0\0Tool\x0A\0\0\0%X%\\t.exe\0"
                        "\0\0\0\0\x01\0\0\0\0\0\0\0\0\0\0\0",
                        8 + 30 + 16),
            bytes);
  const auto back = parseKeptValues(bytes);
  ASSERT_TRUE(back);
  ASSERT_EQ(2u, back->size());
  EXPECT_EQ("Tool", (*back)[0].name);
  EXPECT_EQ(2u, (*back)[0].registryType);
  EXPECT_EQ(values[0].bytes, (*back)[0].bytes);
  EXPECT_EQ(bytes, serialiseKeptValues(*back));
}

TEST(KeptValues, RefusesAnythingButAWholeFile) {
  const std::string whole = serialiseKeptValues({{6, "n", 2, "abc"}});
  for (std::size_t size = 0; size < whole.size(); ++size) {
    // A copy of exactly `size` bytes, so that the sanitizers see any read beyond it.
    EXPECT_FALSE(parseKeptValues(std::string(whole.begin(), whole.begin() + size))) << size;
  }
  EXPECT_FALSE(parseKeptValues(whole + "x"));
  EXPECT_FALSE(parseKeptValues("SKV2" + whole.substr(4)));
}

}  // namespace
