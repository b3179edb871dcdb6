// Counting and deleting registry entries in a scratch key that stands in for
// HKEY_CURRENT_USER.
#include "cleaner/textplugin/Regenum.h"

#include <sddl.h>

#include <gtest/gtest.h>

#include "cleaner/tests/textplugin/TextPluginFixtures.h"

namespace {

using fixtures::KeyExists;
using fixtures::SetBinary;
using fixtures::ValueExists;

class Regenum : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(scratch_.ok()); }
  // A key with three subkeys of two values each and one value of its own.
  void MakeSevenValues(const std::string& key) {
    ASSERT_TRUE(SetBinary(HKEY_CURRENT_USER, key, "own", 1));
    for (const char* sub : {"\\one", "\\two", "\\three"}) {
      ASSERT_TRUE(SetBinary(HKEY_CURRENT_USER, key + sub, "a", 10));
      ASSERT_TRUE(SetBinary(HKEY_CURRENT_USER, key + sub, "b", 100));
    }
  }
  fixtures::ScratchRegistry scratch_;
};

TEST_F(Regenum, CountsValuesAndTheirDataSizes) {
  ASSERT_TRUE(SetBinary(HKEY_CURRENT_USER, "Soft\\App", "empty", 0));
  ASSERT_TRUE(SetBinary(HKEY_CURRENT_USER, "Soft\\App", "full", 12));
  ASSERT_TRUE(fixtures::SetString(HKEY_CURRENT_USER, "Soft\\App", "a|b", "xyz"));
  struct Case { const char* key; const char* value; long long entries, bytes; };
  const Case cases[] = {
      {"Soft\\App", "empty", 1, 0},  {"Soft\\App", "full", 1, 12},  {"Soft\\App", "a|b", 1, 4},
      {"Soft\\App", "none", 0, 0},   {"Soft\\None", "full", 0, 0},  {"Soft\\None", nullptr, 0, 0},
      {"Soft\\App", nullptr, 3, 16},
  };
  for (const Case& c : cases) {
    long long entries = 5, bytes = 50;  // added to, never reset
    CountEntry(HKEY_CURRENT_USER, c.key, c.value, entries, bytes);
    EXPECT_EQ(5 + c.entries, entries) << c.key << " " << (c.value ? c.value : "(key)");
    EXPECT_EQ(50 + c.bytes, bytes) << c.key << " " << (c.value ? c.value : "(key)");
  }
}

TEST_F(Regenum, AWholeKeyCountsEveryValueBelowItAndIsDeletedWhole) {
  MakeSevenValues("Soft\\Tree");
  ASSERT_TRUE(SetBinary(HKEY_CURRENT_USER, "Soft\\Tree\\one\\deeper\\deepest", "c", 1000));
  ASSERT_TRUE(SetBinary(HKEY_CURRENT_USER, "Soft\\Beside", "kept", 3));
  long long entries = 0, bytes = 0;
  CountEntry(HKEY_CURRENT_USER, "Soft\\Tree", nullptr, entries, bytes);
  EXPECT_EQ(8, entries);
  EXPECT_EQ(1331, bytes);
  entries = bytes = 0;
  EXPECT_TRUE(DeleteEntry(HKEY_CURRENT_USER, "Soft\\Tree", nullptr, entries, bytes));
  EXPECT_EQ(8, entries);
  EXPECT_EQ(1331, bytes);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Soft\\Tree"));
  EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, "Soft\\Beside", "kept"));
}

TEST_F(Regenum, ThreeSubkeysOfTwoValuesAndOneValueCountSeven) {
  MakeSevenValues("Soft\\Seven");
  long long entries = 0, bytes = 0;
  CountEntry(HKEY_CURRENT_USER, "Soft\\Seven", nullptr, entries, bytes);
  EXPECT_EQ(7, entries);
  EXPECT_EQ(331, bytes);
}

TEST_F(Regenum, ASingleValueIsDeletedAndItsKeyStays) {
  ASSERT_TRUE(SetBinary(HKEY_CURRENT_USER, "Soft\\App", "gone", 6));
  ASSERT_TRUE(SetBinary(HKEY_CURRENT_USER, "Soft\\App", "kept", 2));
  long long entries = 0, bytes = 0;
  EXPECT_FALSE(DeleteEntry(HKEY_CURRENT_USER, "Soft\\App", "gone", entries, bytes));
  EXPECT_FALSE(DeleteEntry(HKEY_CURRENT_USER, "Soft\\App", "missing", entries, bytes));
  EXPECT_FALSE(DeleteEntry(HKEY_CURRENT_USER, "Soft\\Missing", "gone", entries, bytes));
  EXPECT_EQ(1, entries);
  EXPECT_EQ(6, bytes);
  EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, "Soft\\App", "gone"));
  EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, "Soft\\App", "kept"));
}

TEST_F(Regenum, AnUndeletableValueKeepsItsKeyAndItsParentsOnly) {
  MakeSevenValues("Soft\\Tree");
  ASSERT_TRUE(SetBinary(HKEY_CURRENT_USER, "Soft\\Tree\\two\\locked", "stays", 9));
  {
    // Read access only for everyone: the key opens for counting, not for deleting.
    win::UniqueKey locked;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Soft\\Tree\\two\\locked", 0,
                                           KEY_ALL_ACCESS, locked.put()));
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;KR;;;WD)", SDDL_REVISION_1,
                                                                     &descriptor, nullptr));
    const LONG set = RegSetKeySecurity(locked.get(), DACL_SECURITY_INFORMATION, descriptor);
    LocalFree(descriptor);
    ASSERT_EQ(ERROR_SUCCESS, set);
  }
  long long entries = 0, bytes = 0;
  CountEntry(HKEY_CURRENT_USER, "Soft\\Tree", nullptr, entries, bytes);
  EXPECT_EQ(8, entries);
  entries = bytes = 0;
  EXPECT_FALSE(DeleteEntry(HKEY_CURRENT_USER, "Soft\\Tree", nullptr, entries, bytes));
  EXPECT_EQ(7, entries);
  EXPECT_EQ(331, bytes);
  EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, "Soft\\Tree\\two\\locked", "stays"));
  EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, "Soft\\Tree\\two", "a"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Soft\\Tree\\one"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Soft\\Tree\\three"));
  EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, "Soft\\Tree", "own"));
  // The scratch key goes at the end; the locked key first, which the platform allows.
  RegDeleteKeyA(HKEY_CURRENT_USER, "Soft\\Tree\\two\\locked");
}

// Links inside the named key: one to a key beside it, one to its own parent. Neither is
// counted or deleted through, and the loop ends no walk.
TEST_F(Regenum, LinksInsideTheKeyAreLeftAlone) {
  ASSERT_TRUE(SetBinary(HKEY_CURRENT_USER, "Soft\\Target", "precious", 5));
  ASSERT_TRUE(SetBinary(HKEY_CURRENT_USER, "Soft\\Tree\\one", "a", 10));
  ASSERT_TRUE(fixtures::MakeRegistryLink("Soft\\Tree\\link", scratch_.user() + "\\Soft\\Target"));
  ASSERT_TRUE(fixtures::MakeRegistryLink("Soft\\Tree\\one\\loop", scratch_.user() + "\\Soft\\Tree"));
  long long entries = 0, bytes = 0;
  CountEntry(HKEY_CURRENT_USER, "Soft\\Tree", nullptr, entries, bytes);
  EXPECT_EQ(1, entries);
  entries = bytes = 0;
  EXPECT_FALSE(DeleteEntry(HKEY_CURRENT_USER, "Soft\\Tree\\link", nullptr, entries, bytes));
  EXPECT_FALSE(DeleteEntry(HKEY_CURRENT_USER, "Soft\\Tree", nullptr, entries, bytes));
  EXPECT_EQ(1, entries);
  EXPECT_EQ(10, bytes);
  EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, "Soft\\Target", "precious"));
  EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, "Soft\\Tree\\one", "a"));
  EXPECT_TRUE(fixtures::RemoveRegistryLink("Soft\\Tree\\one\\loop"));
  EXPECT_TRUE(fixtures::RemoveRegistryLink("Soft\\Tree\\link"));
}

// What the count saw is what goes: a value or key that came after it, or a value that
// changed its size, stays and is not counted as cleaned.
TEST_F(Regenum, WithASnapshotOnlyWhatTheCountSawIsDeleted) {
  MakeSevenValues("Soft\\Tree");
  deletion::RegistrySnapshot seen;
  long long entries = 0, bytes = 0;
  CountEntry(HKEY_CURRENT_USER, "Soft\\Tree", nullptr, entries, bytes, &seen);
  ASSERT_EQ(7, entries);
  ASSERT_TRUE(SetBinary(HKEY_CURRENT_USER, "Soft\\Tree\\one", "new", 4));
  ASSERT_TRUE(SetBinary(HKEY_CURRENT_USER, "Soft\\Tree\\fresh", "x", 4));
  ASSERT_TRUE(SetBinary(HKEY_CURRENT_USER, "Soft\\Tree\\two", "a", 11));  // was 10 bytes
  entries = bytes = 0;
  EXPECT_FALSE(DeleteEntry(HKEY_CURRENT_USER, "Soft\\Tree", nullptr, entries, bytes, &seen));
  EXPECT_EQ(6, entries);
  EXPECT_EQ(321, bytes);
  EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, "Soft\\Tree\\one", "new"));
  EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, "Soft\\Tree\\fresh", "x"));
  EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, "Soft\\Tree\\two", "a"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Soft\\Tree\\three"));
  // A value entry likewise.
  deletion::RegistrySnapshot value;
  CountEntry(HKEY_CURRENT_USER, "Soft\\Tree\\one", "new", entries, bytes, &value);
  ASSERT_TRUE(SetBinary(HKEY_CURRENT_USER, "Soft\\Tree\\one", "new", 5));
  entries = bytes = 0;
  DeleteEntry(HKEY_CURRENT_USER, "Soft\\Tree\\one", "new", entries, bytes, &value);
  EXPECT_EQ(0, entries);
  EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, "Soft\\Tree\\one", "new"));
}

}  // namespace
