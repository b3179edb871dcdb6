// What a 32-bit program sees of the machine's Run key on 64-bit Windows: the key it opens by
// name is the Wow6432Node key, and the native key stays apart. The startup manager's handling
// of both views starts from these facts. Runs on the real HKLM of the test prefix, with a
// value name of its own that it removes again.
#include <gtest/gtest.h>
#include <windows.h>

#include "common/Unique.h"

namespace {

constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRun32 = "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kValue = "Varnick view test";

bool HasValue(const char* key, REGSAM view) {
  win::UniqueKey opened;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_QUERY_VALUE | view, opened.put()) != ERROR_SUCCESS)
    return false;
  return RegQueryValueExA(opened.get(), kValue, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

#ifndef _WIN64
TEST(RegistryView, MachineRunOfA32BitProgramIsTheWow6432NodeKey) {
  BOOL wow64 = FALSE;
  ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
  ASSERT_TRUE(wow64) << "the tests run a 32-bit program on 64-bit Windows";

  win::UniqueKey run;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRun, 0, nullptr, 0, KEY_SET_VALUE,
                                           nullptr, run.put(), nullptr));
  const char data[] = "C:\\view.exe";
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(run.get(), kValue, 0, REG_SZ,
                                          reinterpret_cast<const BYTE*>(data), sizeof data));
  const bool inDefault = HasValue(kRun, 0);
  const bool in32 = HasValue(kRun, KEY_WOW64_32KEY);
  const bool inWow6432Node = HasValue(kRun32, KEY_WOW64_64KEY);
  const bool inNative = HasValue(kRun, KEY_WOW64_64KEY);
  RegDeleteValueA(run.get(), kValue);

  EXPECT_TRUE(inDefault);
  EXPECT_TRUE(in32);
  EXPECT_TRUE(inWow6432Node);
  EXPECT_FALSE(inNative);
}
#endif

}  // namespace
