// Where the startup interface sends the complete text of every failure it absorbs. The
// application shows it to the user.
#pragma once

#include <string>

namespace products::stelmar {

class ErrorHandler {
 public:
  virtual ~ErrorHandler() = default;
  virtual void handleError(const std::string& text) = 0;
};

}  // namespace products::stelmar
