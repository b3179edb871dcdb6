#include "startup/platform/errorresources/SystemErrors.h"

#include <windows.h>

#include "startup/platform/errorresources/Assertion.h"

const char* const SystemErrors::PREFIX = "System error message: ";

namespace {

// FormatMessageA allocates the text with LocalAlloc.
class LocalText {
 public:
  LocalText() = default;
  LocalText(const LocalText&) = delete;
  LocalText& operator=(const LocalText&) = delete;
  ~LocalText() {
    if (_text) ::LocalFree(_text);
  }
  char** put() { return &_text; }
  const char* get() const { return _text; }

 private:
  char* _text = nullptr;
};

}  // namespace

std::string SystemErrors::map(int errorCode, const ErrorMapper* fallbackErrors) noexcept {
  try {
    LocalText message;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(errorCode), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
        reinterpret_cast<char*>(message.put()), 0, nullptr);
    if (length != 0 && message.get()) return PREFIX + std::string(message.get(), length);

    std::string text;
    if (fallbackErrors && fallbackErrors->map(errorCode, text)) return PREFIX + text + "\r\n";

    return PREFIX + std::string("The string representation of the error code [") +
           std::to_string(errorCode) + "] was not found.\r\n";
  } catch (...) {
    STELMAR_ASSERT(false);
    return "An unexpected exception was caught in static std::string SystemErrors::map(int "
           "errorCode, const ErrorMapper* fallbackErrors = 0) throw()\n";
  }
}
