// How stelmar shows texts: error, information and success boxes captioned with the product
// name, and yes/no questions. Every box comes to the foreground; while the main window is
// shown, it owns every box (which then stays in front of it and moves with it).
#pragma once

#include <windows.h>

#include <string>

#include "startup/ErrorHandler.h"

namespace products::stelmar::ui {

// The window that owns every box from now on (null: none).
void setMessageOwner(HWND owner);

class InformationHandler {
 public:
  virtual ~InformationHandler() = default;
  virtual void handleInformation(const std::string& text) = 0;
};

class SuccessHandler {
 public:
  virtual ~SuccessHandler() = default;
  virtual void handleSuccess(const std::string& text) = 0;
};

class MessageBoxHandler : public ErrorHandler, public InformationHandler, public SuccessHandler {
 public:
  explicit MessageBoxHandler(std::string title) : _title(std::move(title)) {}
  void handleError(const std::string& text) override;
  void handleInformation(const std::string& text) override;
  void handleSuccess(const std::string& text) override;

 private:
  std::string _title;
};

class QuestionBox {
 public:
  explicit QuestionBox(std::string caption) : _caption(std::move(caption)) {}
  // True exactly when the user chose Yes.
  bool ask(const std::string& text) const;

 private:
  std::string _caption;
};

}  // namespace products::stelmar::ui
