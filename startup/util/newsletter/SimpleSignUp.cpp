#include "startup/util/newsletter/SimpleSignUp.h"

#include "startup/platform/errorresources/Exceptions.h"
#include "startup/util/UrlEncoder.h"

namespace util::newsletter {

const char* const ASK_FOR_EMAIL_ADDRESS_KEY = "util.newsletter.SimpleSignUp.askForEmailAddress";
const char* const ASK_FREQUENCY_KEY = "util.newsletter.SimpleSignUp.askFrequency";
const char* const COUNTER_KEY = "util.newsletter.SimpleSignUp.counter";
const char* const SIGN_UP_URL_KEY = "util.newsletter.SimpleSignUp.signUpUrl";
const char* const BROWSER_INFORMATION =
    " will now open a web browser to complete the signup. The web browser will send the e-mail "
    "address you entered to our web server and you will get a confirmation message if the "
    "signup was successful. Please make sure you are connected to the Internet.";

std::string signUpAddress(const std::string& baseAddress, const std::string& emailAddress) {
  // Typed text must not be able to end the value ("&", "#") or break the address (" ").
  return baseAddress + encodeQueryValue(emailAddress);
}

void offerSignUp(config::Config& config, const std::string& productName, SignUpView& view) {
  // A first start has no configuration file: nothing to offer, nothing to write.
  if (config.getNumberOfKeys() == 0) return;
  if (!config.getBoolean(ASK_FOR_EMAIL_ADDRESS_KEY)) return;
  const int frequency = config.getInteger(ASK_FREQUENCY_KEY);
  const int counter = config.getInteger(COUNTER_KEY);
  if (counter >= 1) {
    // Only a counter of 1 or more is lowered, so the lowest integer never wraps.
    config.setInteger(COUNTER_KEY, counter - 1);
  } else {
    config.setInteger(COUNTER_KEY, frequency);
    std::string emailAddress;
    if (view.askForEmailAddress(emailAddress)) {
      view.handleInformation(productName + BROWSER_INFORMATION);
      const std::string address = signUpAddress(config.getString(SIGN_UP_URL_KEY), emailAddress);
      config.setBoolean(ASK_FOR_EMAIL_ADDRESS_KEY, false);
      try {
        view.openAddress(address);
        view.waitForBrowser();
      } catch (const windows::internet::CouldNotLaunchInternetBrowserException& e) {
        view.handleError(e.getMessage());
      }
    }
  }
  try {
    config.save();
  } catch (const io::file::CouldNotSaveFileException&) {
    // The prompt is a courtesy: start-up goes on with the settings in memory.
  }
}

}  // namespace util::newsletter
