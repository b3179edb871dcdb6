// The text of a system error code, as every failure text of stelmar ends.
#pragma once

#include <string>

// Knows texts for codes that the system's message table may lack (for example a module's
// own codes).
class ErrorMapper {
 public:
  virtual ~ErrorMapper() = default;
  // Sets `text` and returns true when the code is known.
  virtual bool map(int errorCode, std::string& text) const = 0;
};

class SystemErrors {
 public:
  static const char* const PREFIX;  // "System error message: "

  // "System error message: " + the system's message for the code (usually ending in CR LF),
  // else the fallback's text + CR LF, else a not-found sentence naming the code + CR LF.
  // Never throws.
  static std::string map(int errorCode, const ErrorMapper* fallbackErrors = nullptr) noexcept;
};
