// The newsletter sign-up dialog and the prompt that start-up offers with it.
#pragma once

#include <windows.h>

#include <string>

#include "startup/util/config/Config.h"
#include "startup/util/newsletter/SimpleSignUp.h"

namespace products::stelmar::ui {

// A modal dialog (template IDD_SIGNUP of the program's resources) asking for an e-mail
// address, with the buttons "Signup" and "Skip".
class SignupDialog {
 public:
  // The longest address the box takes.
  static constexpr int MAX_ADDRESS_LENGTH = 254;
  // Shows the dialog over `owner` (may be null); true, with the address as typed, when the
  // user chose "Signup"; false for "Skip", closing the dialog, or a dialog that cannot show.
  static bool show(HWND owner, std::string& emailAddress);
};

// How long start-up waits after handing the sign-up address to the browser.
constexpr DWORD SIGNUP_BROWSER_WAIT_MS = 5000;

// Offers the newsletter sign-up as the configuration's keys say (util::newsletter::offerSignUp),
// with SignupDialog, the given message boxes and the user's browser. Configuration failures
// are thrown to the caller. COM must be initialised on the thread.
void offerSignup(util::config::Config& config, HWND owner, const std::string& productName,
                 util::newsletter::SignUpMessages& messages,
                 DWORD browserWaitMs = SIGNUP_BROWSER_WAIT_MS);

}  // namespace products::stelmar::ui
