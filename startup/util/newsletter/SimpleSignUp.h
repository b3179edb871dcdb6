// The newsletter sign-up prompt offered now and then at start-up, driven by four keys of
// the configuration. Standard library only: the dialog, the messages and the browser come
// in through SignUpView.
#pragma once

#include <string>

#include "startup/util/config/Config.h"

namespace util::newsletter {

extern const char* const ASK_FOR_EMAIL_ADDRESS_KEY;  // "util.newsletter.SimpleSignUp.askForEmailAddress"
extern const char* const ASK_FREQUENCY_KEY;          // "util.newsletter.SimpleSignUp.askFrequency"
extern const char* const COUNTER_KEY;                // "util.newsletter.SimpleSignUp.counter"
extern const char* const SIGN_UP_URL_KEY;            // "util.newsletter.SimpleSignUp.signUpUrl"
// Follows the product name in the message shown before the browser opens.
extern const char* const BROWSER_INFORMATION;

// Where the prompt's texts are shown: the application's message boxes.
class SignUpMessages {
 public:
  virtual ~SignUpMessages() = default;
  virtual void handleInformation(const std::string& text) = 0;
  virtual void handleError(const std::string& text) = 0;
};

// What the prompt shows and starts.
class SignUpView : public SignUpMessages {
 public:
  // Shows the sign-up dialog; true, with the address as typed, when the user chose "Signup".
  virtual bool askForEmailAddress(std::string& emailAddress) = 0;
  // Opens the address in the user's browser; throws CouldNotLaunchInternetBrowserException.
  virtual void openAddress(const std::string& address) = 0;
  // Gives the browser time to start before the program goes on.
  virtual void waitForBrowser() = 0;
};

// The counter falls by one at every start-up while prompting is on; once it was below 1 the
// dialog is shown and the counter starts again at the frequency. A sign-up turns prompting
// off for good. The configuration is saved to its file unless prompting was off (or the
// configuration holds no key at all, as on a first start); a failed save is not reported.
// Configuration failures (a missing key, a number that is none) are thrown to the caller.
void offerSignUp(config::Config& config, const std::string& productName, SignUpView& view);

// The base address followed by the e-mail address, encoded as a query value.
std::string signUpAddress(const std::string& baseAddress, const std::string& emailAddress);

}  // namespace util::newsletter
