#include "startup/ui/MessageBoxHandler.h"

#include <windows.h>

namespace products::stelmar::ui {

namespace {

HWND messageOwner = nullptr;

int show(const std::string& text, const std::string& caption, UINT style) {
  HWND owner = messageOwner && IsWindow(messageOwner) ? messageOwner : nullptr;
  return MessageBoxA(owner, text.c_str(), caption.c_str(), style | MB_SETFOREGROUND);
}

}  // namespace

void setMessageOwner(HWND owner) { messageOwner = owner; }

void MessageBoxHandler::handleError(const std::string& text) {
  show(text, _title + " Error", MB_OK | MB_ICONSTOP);
}

void MessageBoxHandler::handleInformation(const std::string& text) {
  show(text, _title + " Information", MB_OK | MB_ICONINFORMATION);
}

void MessageBoxHandler::handleSuccess(const std::string& text) {
  show(text, _title + " Success", MB_OK | MB_ICONINFORMATION);
}

bool QuestionBox::ask(const std::string& text) const {
  return show(text, _caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace products::stelmar::ui
