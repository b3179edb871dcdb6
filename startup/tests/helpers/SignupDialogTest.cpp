// The sign-up prompt as start-up runs it: the real dialog (driven from a second thread),
// the scrambled configuration file, and the address handed to a test browser.
#include "startup/ui/SignupDialog.h"

#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "startup/tests/ui/TestBrowser.h"
#include "startup/ui/SignupDialogResource.h"
#include "startup/util/config/ConfigImpl.h"
#include "startup/util/config/ScrambledConfigFile.h"
#include "tests/harness/Harness.h"

namespace {

using uitests::TestBrowser;
using util::config::ConfigImpl;

struct RecordingMessages : util::newsletter::SignUpMessages {
  void handleInformation(const std::string& text) override { information.push_back(text); }
  void handleError(const std::string& text) override { errors.push_back(text); }
  std::vector<std::string> information, errors;
};

// What the user does when the dialog shows.
struct User {
  bool signUp = false;
  std::string typed;
};

class SignupDialogTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr))); }
  void TearDown() override { ::CoUninitialize(); }

  void writeConfig(const std::string& ask, int counter) {
    file_.save(path_, "util.newsletter.SimpleSignUp.askForEmailAddress=" + ask +
                          "\nutil.newsletter.SimpleSignUp.signUpUrl=http://news.example/join?mail=" +
                          "\nutil.newsletter.SimpleSignUp.askFrequency=2\n" +
                          "util.newsletter.SimpleSignUp.counter=" + std::to_string(counter) + "\n");
  }
  // One start-up's prompt; true when the dialog showed. The user's answer comes from a
  // second thread, as a user's clicks would.
  bool start(const User& user) {
    std::atomic<bool> done{false};
    std::atomic<bool> shown{false};
    std::thread driver([&] {
      HWND dialog = nullptr;
      while (!done && !(dialog = harness::WaitForWindow("#32770", "Newsletter",
                                                         ::GetCurrentProcessId(), 200))) {
      }
      if (!dialog) return;
      shown = true;
      texts_.clear();
      for (const harness::Control& control : harness::Controls(dialog)) texts_.push_back(control.text);
      ::SendMessageA(harness::FindControlById(dialog, IDC_SIGNUP_ADDRESS), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(user.typed.c_str()));
      harness::ClickButton(dialog, user.signUp ? "Signup" : "Skip");
    });
    ConfigImpl config(path_, ConfigImpl::FROM_FILE, file_, file_);
    products::stelmar::ui::offerSignup(config, nullptr, "Stelmar", messages_, 0);
    done = true;
    driver.join();
    return shown;
  }
  ConfigImpl reload() { return ConfigImpl(path_, ConfigImpl::FROM_FILE, file_, file_); }

  harness::TempFolder temp_;
  const std::string path_ = temp_ / "stelmar.cfg";
  util::config::ScrambledConfigFile file_;
  RecordingMessages messages_;
  std::vector<std::string> texts_;
};

TEST_F(SignupDialogTest, CounterAcrossStartsThenSignUpOpensTheBrowserOnce) {
  TestBrowser browser;
  ASSERT_TRUE(browser.ready());
  writeConfig("true", 1);
  EXPECT_FALSE(start(User{}));
  EXPECT_EQ(0, reload().getInteger("util.newsletter.SimpleSignUp.counter"));
  EXPECT_TRUE(start(User{false, "ignored@host.example"}));
  EXPECT_EQ(2, reload().getInteger("util.newsletter.SimpleSignUp.counter"));
  EXPECT_TRUE(reload().getBoolean("util.newsletter.SimpleSignUp.askForEmailAddress"));
  EXPECT_NE(texts_.end(), std::find(texts_.begin(), texts_.end(),
                                    "Please sign up for the newsletter. We will let you know about "
                                    "new releases of the software. It is optional to sign up."));
  EXPECT_NE(texts_.end(), std::find(texts_.begin(), texts_.end(), "Your e-mail address:"));

  writeConfig("true", 0);
  EXPECT_TRUE(start(User{true, "me & you#1@host.example"}));
  EXPECT_EQ("http://news.example/join?mail=me%20%26%20you%231%40host.example",
            browser.waitForAddress());
  ASSERT_EQ(1u, messages_.information.size());
  EXPECT_EQ(0u, messages_.information[0].find("Stelmar will now open a web browser"));
  EXPECT_FALSE(reload().getBoolean("util.newsletter.SimpleSignUp.askForEmailAddress"));

  const std::string saved = harness::ReadTextFile(path_);
  EXPECT_FALSE(start(User{}));
  EXPECT_EQ(saved, harness::ReadTextFile(path_));
  EXPECT_TRUE(messages_.errors.empty());
}

}  // namespace
