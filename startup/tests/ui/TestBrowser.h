// The browser of a test: Wine hands hyperlink targets to winebrowser, which starts the
// programs named in the user's "Browsers" value; for the test's lifetime that is the
// recorder script, which writes the address beside the test program.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>

#include "tests/harness/Harness.h"

namespace uitests {

class TestBrowser {
 public:
  TestBrowser() {
    ::RegCreateKeyExA(HKEY_CURRENT_USER, KEY, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_,
                      nullptr);
    DWORD size = sizeof old_ - 1;
    hadValue_ = ::RegQueryValueExA(key_, VALUE, nullptr, nullptr, reinterpret_cast<BYTE*>(old_),
                                   &size) == ERROR_SUCCESS;
    ready_ = set(STELMAR_BROWSER_RECORDER);
    ::DeleteFileA(recordPath().c_str());
  }
  ~TestBrowser() {
    if (!hadValue_ || !set(old_)) ::RegDeleteValueA(key_, VALUE);
    ::RegCloseKey(key_);
    ::DeleteFileA(recordPath().c_str());
  }
  TestBrowser(const TestBrowser&) = delete;
  TestBrowser& operator=(const TestBrowser&) = delete;
  bool ready() const { return ready_; }
  std::string waitForAddress() const {
    harness::WaitUntil([&] { return harness::FileExists(recordPath()); }, 30000);
    return harness::ReadTextFile(recordPath());
  }

 private:
  static constexpr const char* KEY = "Software\\Wine\\WineBrowser";
  static constexpr const char* VALUE = "Browsers";
  bool set(const char* browsers) const {
    return ::RegSetValueExA(key_, VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(browsers),
                            static_cast<DWORD>(std::strlen(browsers) + 1)) == ERROR_SUCCESS;
  }
  static std::string recordPath() { return harness::BuildFolder() + "browser-address.txt"; }
  HKEY key_ = nullptr;
  char old_[1024] = {};
  bool hadValue_ = false;
  bool ready_ = false;
};

}  // namespace uitests
