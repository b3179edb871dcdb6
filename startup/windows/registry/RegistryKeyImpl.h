// One open registry key: opened (or created) when made, closed when destroyed. Every
// failure is a registry exception whose text names the full key and ends with the system's
// description of the error code.
#pragma once

#include <windows.h>

#include <string>

namespace windows::registry {

// "HKEY_CURRENT_USER" and the other six predefined root keys; any other handle throws
// RegistryException.
std::string hiveToString(HKEY hive);

// Environment variables expanded, as a REG_EXPAND_SZ text needs; `native`: with the values
// 64-bit programs see, for a value of the native view, which 64-bit Windows expands. Throws
// RegistryExpandException.
std::string expand(const std::string& text, bool native = false);

class RegistryKeyImpl {
 public:
  static constexpr int MODE_OPEN = 0;    // the key must exist
  static constexpr int MODE_CREATE = 1;  // opened, or created when missing

  // Added to the name of a key opened in the 32-bit view, which 64-bit Windows keeps apart.
  static const char* const VIEW_32_SUFFIX;  // " (32-bit view)"

  // Opens `keyPath` under `hive` with `securityAccess`, in the registry view `view` (0: the
  // program's own; KEY_WOW64_64KEY or KEY_WOW64_32KEY, for 64-bit Windows only). Throws
  // RegistryAccessDeniedException, RegistryKeyNotFoundException or RegistryException; a key
  // that failed to open is never open and its destruction does nothing to the registry.
  RegistryKeyImpl(HKEY hive, const std::string& keyPath, REGSAM securityAccess, int mode,
                  REGSAM view = 0);
  RegistryKeyImpl(const RegistryKeyImpl&) = delete;
  RegistryKeyImpl& operator=(const RegistryKeyImpl&) = delete;
  virtual ~RegistryKeyImpl();

  virtual HKEY getHandle() const;
  // The hive's name, a backslash and the key path; the hive's name alone for an empty path.
  virtual std::string getName() const;
  // Opened in the native view of 64-bit Windows (KEY_WOW64_64KEY).
  bool isNativeView() const { return _native; }

 private:
  void open(REGSAM securityAccess);
  void create(REGSAM securityAccess);

  HKEY _key = nullptr;
  HKEY _hive;
  std::string _keyPath;
  std::string _name;
  bool _native = false;
};

}  // namespace windows::registry
