#include "startup/util/newsletter/SimpleSignUp.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "startup/platform/errorresources/Exceptions.h"
#include "startup/util/config/ConfigImpl.h"

namespace {

using util::config::ConfigImpl;
using Texts = std::vector<std::string>;

// The configuration's file and the prompt's window, browser and messages, recorded.
struct Fakes : util::config::ConfigLoader, util::config::ConfigSaver, util::newsletter::SignUpView {
  std::string load(const std::string&) override { return std::string(); }
  void save(const std::string&, const std::string& text) override {
    if (failSave) throw io::file::CouldNotSaveFileException("cannot save");
    saved.push_back(text);
  }
  bool askForEmailAddress(std::string& emailAddress) override {
    ++dialogs;
    emailAddress = typed;
    return signUp;
  }
  void handleInformation(const std::string& text) override { information.push_back(text); }
  void handleError(const std::string& text) override { errors.push_back(text); }
  void openAddress(const std::string& address) override {
    if (browserFails) throw windows::internet::CouldNotLaunchInternetBrowserException("no browser");
    opened.push_back(address);
  }
  void waitForBrowser() override { ++waits; }

  bool failSave = false, signUp = false, browserFails = false;
  std::string typed = "a&b=c #d@host.example";
  int dialogs = 0, waits = 0;
  Texts saved, information, errors, opened;
};

std::string configText(const std::string& ask, int counter) {
  return "util.newsletter.SimpleSignUp.askForEmailAddress=" + ask +
         "\nutil.newsletter.SimpleSignUp.signUpUrl=http://news.example/?mail=" +
         "\nutil.newsletter.SimpleSignUp.askFrequency=5\nutil.newsletter.SimpleSignUp.counter=" +
         std::to_string(counter) + "\n";
}

class SimpleSignUp : public testing::Test {
 protected:
  void offer(const std::string& text) {
    config = std::make_unique<ConfigImpl>(text, ConfigImpl::FROM_TEXT, fakes, fakes);
    util::newsletter::offerSignUp(*config, "Stelmar", fakes);
  }
  int counter() const { return config->getInteger(util::newsletter::COUNTER_KEY); }
  bool asking() const { return config->getBoolean(util::newsletter::ASK_FOR_EMAIL_ADDRESS_KEY); }

  Fakes fakes;
  std::unique_ptr<ConfigImpl> config;
};

TEST_F(SimpleSignUp, CounterFallsUntilBelowOneThenPromptsAndRestarts) {
  struct Case { int counter; int shown; int counterAfter; };
  // The lowest integer is not lowered: it would wrap round to the highest.
  const Case cases[] = {{2, 0, 1}, {1, 0, 0}, {0, 1, 5}, {-3, 1, 5}, {INT_MIN, 1, 5}};
  for (const Case& c : cases) {
    fakes.dialogs = 0;
    offer(configText("true", c.counter));
    EXPECT_EQ(c.shown, fakes.dialogs) << c.counter;
    EXPECT_EQ(c.counterAfter, counter()) << c.counter;
    EXPECT_TRUE(asking());
    EXPECT_EQ(config->getText(), fakes.saved.back());
  }
  EXPECT_TRUE(fakes.opened.empty());
}

TEST_F(SimpleSignUp, OffOrFirstStartWritesNothing) {
  offer(configText("false", 0));
  offer("");
  EXPECT_EQ(0, fakes.dialogs);
  EXPECT_TRUE(fakes.saved.empty());
}

TEST_F(SimpleSignUp, SignUpOpensTheEncodedAddressOnceAndStopsPrompting) {
  fakes.signUp = true;
  offer(configText("TRUE", 0));
  EXPECT_EQ(Texts{std::string("Stelmar") + util::newsletter::BROWSER_INFORMATION}, fakes.information);
  EXPECT_EQ(Texts{"http://news.example/?mail=a%26b%3Dc%20%23d%40host.example"}, fakes.opened);
  EXPECT_EQ(1, fakes.waits);
  EXPECT_FALSE(asking());
  EXPECT_EQ(5, counter());
  EXPECT_EQ(1u, fakes.saved.size());
}

TEST_F(SimpleSignUp, BrowserFailureIsShownAndPromptingStaysOff) {
  fakes.signUp = fakes.browserFails = true;
  offer(configText("1", 0));
  EXPECT_EQ(Texts{"no browser"}, fakes.errors);
  EXPECT_FALSE(asking());
  EXPECT_EQ(1u, fakes.saved.size());
}

TEST_F(SimpleSignUp, FailedSaveIsSilentAndMissingKeysEndStartUp) {
  fakes.failSave = true;
  EXPECT_NO_THROW(offer(configText("true", 2)));
  EXPECT_TRUE(fakes.errors.empty());
  fakes.signUp = true;
  EXPECT_THROW(offer("util.newsletter.SimpleSignUp.askForEmailAddress=true\n"),
               util::config::KeyDoesNotExistException);
  EXPECT_THROW(offer("util.newsletter.SimpleSignUp.askForEmailAddress=true\n"
                     "util.newsletter.SimpleSignUp.askFrequency=2\n"
                     "util.newsletter.SimpleSignUp.counter=0\n"),
               util::config::KeyDoesNotExistException);
  EXPECT_TRUE(fakes.opened.empty());
}

}  // namespace
