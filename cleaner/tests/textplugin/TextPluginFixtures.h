// Fixtures of the text plug-in tests: sized files, locked files, and a scratch registry
// key that stands in for HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE.
#pragma once

#include <windows.h>
#include <shlwapi.h>
#include <sddl.h>

#include <string>

#include "common/Unique.h"
#include "tests/harness/Harness.h"
#include "tests/harness/ScratchRegistry.h"

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
using harness::ScratchRegistry;

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

// Makes `link` (below HKEY_CURRENT_USER as this process sees it: the scratch key while one
// lives) a registry link to `target` (below the real HKEY_CURRENT_USER). The system wants
// the target as a full registry path of the user's hive.
inline bool MakeRegistryLink(const std::string& link, const std::string& target) {
  win::UniqueHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
  char buffer[256];
  DWORD size = 0;
  if (!GetTokenInformation(token.get(), TokenUser, buffer, sizeof buffer, &size)) return false;
  char* sid = nullptr;
  if (!ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &sid)) return false;
  const std::string path = std::string("\\Registry\\User\\") + sid + "\\" + target;
  LocalFree(sid);
  const std::wstring wideLink(link.begin(), link.end());
  const std::wstring wideTarget(path.begin(), path.end());
  win::UniqueKey key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, wideLink.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK,
                      KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
    return false;
  return RegSetValueExW(key.get(), L"SymbolicLinkValue", 0, REG_LINK,
                        reinterpret_cast<const BYTE*>(wideTarget.data()),
                        static_cast<DWORD>(wideTarget.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// Removes the link itself, never the key it points to (a link to its own parent would
// also send a recursive deletion round for ever).
inline bool RemoveRegistryLink(const std::string& link) {
  using NtDeleteKeyFn = LONG(WINAPI*)(HANDLE);
  const auto deleteKey = reinterpret_cast<NtDeleteKeyFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtDeleteKey")));
  win::UniqueKey key;
  return deleteKey &&
         RegOpenKeyExA(HKEY_CURRENT_USER, link.c_str(), REG_OPTION_OPEN_LINK, KEY_ALL_ACCESS, key.put()) ==
             ERROR_SUCCESS &&
         deleteKey(key.get()) >= 0;
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
