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

struct MemoryFile : util::config::ConfigLoader, util::config::ConfigSaver {
  std::string load(const std::string&) override { return std::string(); }
  void save(const std::string& fileName, const std::string& text) override {
    if (failSave) throw io::file::CouldNotSaveFileException("cannot save " + fileName);
    saved.push_back(text);
  }
  bool failSave = false;
  std::vector<std::string> saved;
};

struct FakeView : util::newsletter::SignUpView {
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

  bool signUp = false;
  bool browserFails = false;
  std::string typed = "me+news@host.example";
  int dialogs = 0;
  int waits = 0;
  std::vector<std::string> information, errors, opened;
};

std::string configText(const std::string& ask, int frequency, int counter) {
  return "# stelmar\nutil.newsletter.SimpleSignUp.askForEmailAddress=" + ask +
         "\nutil.newsletter.SimpleSignUp.signUpUrl=http://news.example/signup?mail=" +
         "\nutil.newsletter.SimpleSignUp.askFrequency=" + std::to_string(frequency) +
         "\nutil.newsletter.SimpleSignUp.counter=" + std::to_string(counter) + "\n";
}

class SimpleSignUp : public testing::Test {
 protected:
  void offer(const std::string& text) {
    config = std::make_unique<ConfigImpl>(text, ConfigImpl::FROM_TEXT, file, file);
    util::newsletter::offerSignUp(*config, "Stelmar", view);
  }
  int counter() const { return config->getInteger(util::newsletter::COUNTER_KEY); }
  bool asking() const { return config->getBoolean(util::newsletter::ASK_FOR_EMAIL_ADDRESS_KEY); }

  MemoryFile file;
  FakeView view;
  std::unique_ptr<ConfigImpl> config;
};

TEST_F(SimpleSignUp, CounterFallsUntilBelowOneThenPromptsAndRestarts) {
  struct Case { int counter; int shown; int counterAfter; };
  const Case cases[] = {{5, 0, 4}, {1, 0, 0}, {0, 1, 5}, {-3, 1, 5}, {INT_MIN, 1, 5}};
  for (const Case& c : cases) {
    view.dialogs = 0;
    offer(configText("true", 5, c.counter));
    EXPECT_EQ(c.shown, view.dialogs) << c.counter;
    EXPECT_EQ(c.counterAfter, counter()) << c.counter;
    EXPECT_TRUE(asking());
    ASSERT_FALSE(file.saved.empty());
    EXPECT_EQ(config->getText(), file.saved.back());
  }
  EXPECT_TRUE(view.opened.empty());
}

TEST_F(SimpleSignUp, PromptingOffLeavesTheFileUntouched) {
  offer(configText("false", 5, 0));
  offer("");  // a first start: no configuration file at all
  EXPECT_EQ(0, view.dialogs);
  EXPECT_TRUE(file.saved.empty());
}

TEST_F(SimpleSignUp, SignUpInformsOpensTheEncodedAddressAndStopsPrompting) {
  view.signUp = true;
  view.typed = "a&b=c #d@host.example";
  offer(configText("TRUE", 3, 0));
  ASSERT_EQ(1u, view.information.size());
  EXPECT_EQ(std::string("Stelmar") + util::newsletter::BROWSER_INFORMATION, view.information[0]);
  EXPECT_EQ(std::vector<std::string>{"http://news.example/signup?mail=a%26b%3Dc%20%23d%40host.example"},
            view.opened);
  EXPECT_EQ(1, view.waits);
  EXPECT_FALSE(asking());
  EXPECT_EQ(3, counter());
  EXPECT_EQ(1u, file.saved.size());
}

TEST_F(SimpleSignUp, BrowserFailureIsShownAndPromptingStaysOff) {
  view.signUp = true;
  view.browserFails = true;
  offer(configText("1", 3, 0));
  EXPECT_EQ(std::vector<std::string>{"no browser"}, view.errors);
  EXPECT_EQ(0, view.waits);
  EXPECT_FALSE(asking());
  EXPECT_EQ(1u, file.saved.size());
}

TEST_F(SimpleSignUp, FailedSaveIsSilent) {
  file.failSave = true;
  EXPECT_NO_THROW(offer(configText("true", 5, 2)));
  EXPECT_TRUE(view.errors.empty());
  EXPECT_EQ(1, counter());
}

TEST_F(SimpleSignUp, MissingKeysEndStartUp) {
  EXPECT_THROW(offer("util.newsletter.SimpleSignUp.askForEmailAddress=true\n"),
               util::config::KeyDoesNotExistException);
  view.signUp = true;
  EXPECT_THROW(offer("util.newsletter.SimpleSignUp.askForEmailAddress=true\n"
                     "util.newsletter.SimpleSignUp.askFrequency=2\n"
                     "util.newsletter.SimpleSignUp.counter=0\n"),
               util::config::KeyDoesNotExistException);
  EXPECT_TRUE(view.opened.empty());
  EXPECT_TRUE(file.saved.empty());
}

}  // namespace
