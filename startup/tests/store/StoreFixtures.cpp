#include "startup/tests/store/StoreFixtures.h"

#include <gtest/gtest.h>
#include <sddl.h>

namespace storetests {

namespace {

// COM for the whole test program, as the startup manager initialises it at start-up.
class ComEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ::CoInitialize(nullptr); }
  void TearDown() override { ::CoUninitialize(); }
};
::testing::Environment* const comEnvironment =
    ::testing::AddGlobalTestEnvironment(new ComEnvironment);

void SetSecurity(HKEY hive, const std::string& key, const char* sddl) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1,
                                                                     &descriptor, nullptr));
  HKEY handle = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(hive, key.c_str(), 0, WRITE_DAC | KEY_READ, &handle));
  EXPECT_EQ(ERROR_SUCCESS, ::RegSetKeySecurity(handle, DACL_SECURITY_INFORMATION, descriptor));
  ::RegCloseKey(handle);
  ::LocalFree(descriptor);
}

}  // namespace

void SetValue(HKEY hive, const std::string& key, const std::string& name, DWORD type,
              const std::string& bytes) {
  HKEY handle = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(hive, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &handle, nullptr));
  EXPECT_EQ(ERROR_SUCCESS, ::RegSetValueExA(handle, name.c_str(), 0, type,
                                            reinterpret_cast<const BYTE*>(bytes.data()),
                                            static_cast<DWORD>(bytes.size())));
  ::RegCloseKey(handle);
}

void SetText(HKEY hive, const std::string& key, const std::string& name, const std::string& text) {
  SetValue(hive, key, name, REG_SZ, std::string(text.c_str(), text.size() + 1));
}

void DeleteValue(HKEY hive, const std::string& key, const std::string& name) {
  HKEY handle = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(hive, key.c_str(), 0, KEY_ALL_ACCESS, &handle));
  EXPECT_EQ(ERROR_SUCCESS, ::RegDeleteValueA(handle, name.c_str()));
  ::RegCloseKey(handle);
}

Value GetValue(HKEY hive, const std::string& key, const std::string& name) {
  Value value;
  HKEY handle = nullptr;
  if (::RegOpenKeyExA(hive, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return value;
  DWORD size = 0;
  if (::RegQueryValueExA(handle, name.c_str(), nullptr, &value.type, nullptr, &size) ==
      ERROR_SUCCESS) {
    value.bytes.assign(size, '\0');
    value.exists =
        ::RegQueryValueExA(handle, name.c_str(), nullptr, &value.type,
                           reinterpret_cast<BYTE*>(value.bytes.data()), &size) == ERROR_SUCCESS;
    value.bytes.resize(size);
  }
  ::RegCloseKey(handle);
  return value;
}

std::vector<std::string> ValueNames(HKEY hive, const std::string& key) {
  std::vector<std::string> names;
  HKEY handle = nullptr;
  if (::RegOpenKeyExA(hive, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return names;
  for (DWORD index = 0;; ++index) {
    char name[1024];
    DWORD length = sizeof name;
    if (::RegEnumValueA(handle, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    names.emplace_back(name, length);
  }
  ::RegCloseKey(handle);
  return names;
}

void MakeReadOnly(HKEY hive, const std::string& key) { SetSecurity(hive, key, "D:(A;;KR;;;WD)"); }
void MakeWritable(HKEY hive, const std::string& key) { SetSecurity(hive, key, "D:(A;;KA;;;WD)"); }

HeldFile::HeldFile(const std::string& path)
    : handle_(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}

HeldFile::~HeldFile() {
  if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
}

CurrentDirectory::CurrentDirectory(const std::string& folder) {
  char buffer[MAX_PATH] = {};
  ::GetCurrentDirectoryA(MAX_PATH, buffer);
  previous_ = buffer;
  ::SetCurrentDirectoryA(folder.c_str());
}

void CurrentDirectory::restore() {
  if (previous_.empty()) return;
  ::SetCurrentDirectoryA(previous_.c_str());
  previous_.clear();
}

}  // namespace storetests
