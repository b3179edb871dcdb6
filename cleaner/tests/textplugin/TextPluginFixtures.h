// Fixtures of the text plug-in tests: sized files, locked files, and a scratch registry
// key that stands in for HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE.
#pragma once

#include <windows.h>
#include <shlwapi.h>

#include <string>

#include "common/Unique.h"
#include "tests/harness/Harness.h"

namespace fixtures {

// Writes a file of `size` bytes, making its folders first.
inline bool MakeFile(const std::string& path, std::size_t size, DWORD attributes = 0) {
  for (std::size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
    CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
  if (!harness::WriteTextFile(path, std::string(size, 'v'))) return false;
  return attributes == 0 || SetFileAttributesA(path.c_str(), attributes);
}

// Holds a file open without delete sharing: it can be neither deleted nor moved.
inline win::UniqueFile LockFile(const std::string& path) {
  return win::UniqueFile(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
}

// HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE of this process point at two fresh scratch
// keys while the fixture lives.
class ScratchRegistry {
 public:
  ScratchRegistry() {
    base_ = "Software\\VarnickTests\\textplugin" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(GetTickCount());
    RegCreateKeyExA(HKEY_CURRENT_USER, (base_ + "\\user").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, user_.put(), nullptr);
    RegCreateKeyExA(HKEY_CURRENT_USER, (base_ + "\\machine").c_str(), 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, machine_.put(), nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, user_.get());
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine_.get());
  }
  ~ScratchRegistry() {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    user_.reset();
    machine_.reset();
    SHDeleteKeyA(HKEY_CURRENT_USER, base_.c_str());
  }
  ScratchRegistry(const ScratchRegistry&) = delete;
  ScratchRegistry& operator=(const ScratchRegistry&) = delete;
  bool ok() const { return user_ && machine_; }

 private:
  std::string base_;
  win::UniqueKey user_;
  win::UniqueKey machine_;
};

inline bool SetString(HKEY root, const std::string& key, const char* name, const std::string& data) {
  win::UniqueKey k;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, k.put(), nullptr))
    return false;
  return RegSetValueExA(k.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                        static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

inline bool SetBinary(HKEY root, const std::string& key, const char* name, std::size_t size) {
  win::UniqueKey k;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, k.put(), nullptr))
    return false;
  const std::string data(size, 'r');
  return RegSetValueExA(k.get(), name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(data.data()),
                        static_cast<DWORD>(size)) == ERROR_SUCCESS;
}

inline bool KeyExists(HKEY root, const std::string& key) {
  win::UniqueKey k;
  return RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, k.put()) == ERROR_SUCCESS;
}

inline bool ValueExists(HKEY root, const std::string& key, const char* name) {
  win::UniqueKey k;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, k.put()) != ERROR_SUCCESS) return false;
  return RegQueryValueExA(k.get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

}  // namespace fixtures
