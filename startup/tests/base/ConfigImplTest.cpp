#include "startup/util/config/ConfigImpl.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "startup/platform/errorresources/Exceptions.h"
#include "startup/tests/base/AssertionRecorder.h"

namespace {

using util::config::Config;
using util::config::ConfigImpl;

// Files kept in memory: the configuration's loader and saver.
class MemoryFiles : public util::config::ConfigLoader, public util::config::ConfigSaver {
 public:
  std::string load(const std::string& fileName) override {
    const auto found = files.find(fileName);
    if (found == files.end()) throw io::file::CouldNotLoadFileException("no file " + fileName);
    return found->second;
  }
  void save(const std::string& fileName, const std::string& text) override {
    files[fileName] = text;
  }
  std::map<std::string, std::string> files;
};

class CountingListener : public util::config::ConfigListener {
 public:
  void configurationChanged(Config& config) override {
    ++calls;
    lastState = config.getState();
  }
  int calls = 0;
  int lastState = -1;
};

class Configuration : public ::testing::Test {
 protected:
  std::unique_ptr<ConfigImpl> fromText(const std::string& text) {
    return std::make_unique<ConfigImpl>(text, ConfigImpl::FROM_TEXT, files, files);
  }
  MemoryFiles files;
};

template <typename Failure, typename Action>
std::string failureText(Action action) {
  try {
    action();
  } catch (const Failure& failure) {
    return failure.getMessage();
  }
  ADD_FAILURE() << "no failure";
  return std::string();
}

const std::string DETAILS_NO_FILE =
    "Error details:\nProblems in the configuration file loader (ConfigImpl).\nFilename: \n";

TEST_F(Configuration, ParsesKeyValueLinesCommentsAndAnyLineBreaks) {
  const auto config = fromText("#comment=1\r\na=b=c\n\n\r\nempty spaces = x \rlast=1");
  EXPECT_EQ(Config::STATE_LOADED, config->getState());
  EXPECT_EQ(3, config->getNumberOfKeys());
  EXPECT_EQ("b=c", config->getString("a"));
  EXPECT_EQ(" x ", config->getString("empty spaces "));
  EXPECT_FALSE(config->hasKey("#comment"));
  EXPECT_FALSE(config->hasKey("A"));
  EXPECT_EQ("#comment=1\r\na=b=c\n\n\r\nempty spaces = x \rlast=1", config->getText());
}

TEST_F(Configuration, ABadLineNamesItselfAndItsNumberAmongNonEmptyLines) {
  struct Case {
    const char* text;
    const char* line;
    int number;
    const char* message;
  };
  const Case cases[] = {
      {"a=1\n\n\nkey=\n", "key=", 2, "Parse error. The line is not a valid key=value line. "},
      {"#x\r\nnovalue", "novalue", 2, "Parse error. The line is not a valid key=value line. "},
      {"=value", "=value", 1, "Parse error. The line is not a valid key=value line. "},
      {"=a=b", "=a=b", 1, "Parse error. The line is not a valid key=value line. "},
      {"a=1\r\nb=2\r\na=3", "a=3", 3, "Duplicate key found while parsing. "},
  };
  for (const Case& c : cases) {
    try {
      fromText(c.text);
      ADD_FAILURE() << c.text;
    } catch (const util::config::ParseException& e) {
      EXPECT_EQ(c.message + DETAILS_NO_FILE + " Line: " + c.line + " LineNumber: " +
                    std::to_string(c.number),
                e.getMessage());
      EXPECT_EQ(c.message + DETAILS_NO_FILE + "\n\nConfiguration text:\n" + c.text,
                e.getLongMessage());
    }
  }
}

TEST_F(Configuration, AFailedParseKeepsTheNewTextAndTheOldValues) {
  const auto config = fromText("a=1\n");
  EXPECT_THROW(config->setText("a=2\nbroken\n"), util::config::ParseException);
  EXPECT_EQ("a=2\nbroken\n", config->getText());
  EXPECT_EQ("1", config->getString("a"));
}

TEST_F(Configuration, ParsingTheSameTextTwiceNotifiesOnce) {
  const auto config = fromText("a=1\n");
  CountingListener listener;
  config->addListener(&listener);
  config->addListener(&listener);  // once only
  config->setText("a=2\n");
  config->setText("a=2\n");
  EXPECT_EQ(1, listener.calls);
  EXPECT_EQ(Config::STATE_CHANGED, listener.lastState);
  config->removeListener(&listener);
  config->setText("a=3\n");
  EXPECT_EQ(1, listener.calls);
}

TEST_F(Configuration, ReadsIntegersAndBooleans) {
  const auto config = fromText(
      "zero=0\nn=12abc\nneg=-7\nabc=abc\nzeros=00\nhuge=99999999999\nt1=true\nt2=TRUE\nt3=1\n"
      "f1=false\nf2=FALSE\nf3=0\nyes=yes\nTrue=True\n");
  EXPECT_EQ(0, config->getInteger("zero"));
  EXPECT_EQ(12, config->getInteger("n"));
  EXPECT_EQ(-7, config->getInteger("neg"));
  EXPECT_EQ("Error parsing the string [abc] to an integer",
            failureText<exceptions::NumberFormatException>([&] { config->getInteger("abc"); }));
  EXPECT_EQ("Error parsing the string [00] to an integer",
            failureText<exceptions::NumberFormatException>([&] { config->getInteger("zeros"); }));
  EXPECT_THROW(config->getInteger("huge"), exceptions::NumberFormatException);
  for (const char* key : {"t1", "t2", "t3"}) EXPECT_TRUE(config->getBoolean(key)) << key;
  for (const char* key : {"f1", "f2", "f3"}) EXPECT_FALSE(config->getBoolean(key)) << key;
  EXPECT_EQ("The value, yes, could not be converted into a boolean. " + DETAILS_NO_FILE,
            failureText<exceptions::NumberFormatException>([&] { config->getBoolean("yes"); }));
  EXPECT_THROW(config->getBoolean("True"), exceptions::NumberFormatException);
}

TEST_F(Configuration, AMissingKeyNamesTheKey) {
  const auto config = fromText("a=1");
  try {
    config->getString("b");
    ADD_FAILURE();
  } catch (const util::config::KeyDoesNotExistException& e) {
    EXPECT_EQ("The key does not exist. " + DETAILS_NO_FILE + " Key: 'b'", e.getMessage());
    EXPECT_EQ("The key does not exist. " + DETAILS_NO_FILE + "\n\nConfiguration text:\na=1",
              e.getLongMessage());
  }
  EXPECT_THROW(config->getInteger("b"), util::config::KeyDoesNotExistException);
}

TEST_F(Configuration, SettingChangesOnlyTheValueInItsLine) {
  const auto config = fromText("# settings\r\nab=1\r\nb=long value\r\nc=3");
  CountingListener listener;
  config->addListener(&listener);
  config->setString("b", "x");
  EXPECT_EQ("# settings\r\nab=1\r\nb=x\r\nc=3", config->getText());
  config->setInteger("c", -42);
  config->setBoolean("ab", true);
  EXPECT_EQ("# settings\r\nab=true\r\nb=x\r\nc=-42", config->getText());
  EXPECT_EQ(-42, config->getInteger("c"));
  EXPECT_EQ(3, listener.calls);
  EXPECT_EQ(Config::STATE_CHANGED, config->getState());
}

TEST_F(Configuration, ANewKeyGoesOnANewLastLine) {
  const auto config = fromText("a=1");
  config->setString("b", "2");
  EXPECT_EQ("a=1\nb=2\n", config->getText());
  config->setString("c", "3");
  EXPECT_EQ("a=1\nb=2\nc=3\n", config->getText());
  EXPECT_EQ("3", config->getString("c"));

  const auto empty = fromText("");
  empty->setString("k", "v");
  EXPECT_EQ("k=v\n", empty->getText());
}

TEST_F(Configuration, AnEditThatCannotBeParsedChangesNothing) {
  const auto config = fromText("a=1\n");
  // An empty value, or a line break that would smuggle in a line of its own.
  EXPECT_THROW(config->setString("a", ""), util::config::ParseException);
  EXPECT_THROW(config->setString("b", "2\nc=3"), util::config::ParseException);
  EXPECT_THROW(config->setString("x=y", "2"), util::config::ParseException);
  EXPECT_THROW(config->setString("#b", "2"), util::config::ParseException);
  EXPECT_EQ("a=1\n", config->getText());
  EXPECT_EQ("1", config->getString("a"));
  EXPECT_EQ(1, config->getNumberOfKeys());
}

TEST_F(Configuration, CommentingOutAndUncommentingReturnsTheText) {
  const std::string text = "a=1\r\nkey=value\r\nz=2";
  const auto config = fromText(text);
  config->commentOutKey("key");
  EXPECT_EQ("a=1\r\n#key=value\r\nz=2", config->getText());
  EXPECT_FALSE(config->hasKey("key"));
  config->uncommentKey("key");
  EXPECT_EQ(text, config->getText());
  EXPECT_EQ("value", config->getString("key"));

  EXPECT_THROW(config->commentOutKey("missing"), util::config::KeyDoesNotExistException);
  EXPECT_EQ("Could not find the commented key. " + DETAILS_NO_FILE + " Key: 'a'",
            failureText<util::config::KeyDoesNotExistException>([&] { config->uncommentKey("a"); }));
}

TEST_F(Configuration, CommentingOutAKeyWhoseLineIsGoneIsAFailedCheck) {
  // A failed parse leaves its text in place while the values stay: the key has no line.
  const auto config = fromText("key=value\n");
  EXPECT_THROW(config->setText("broken\n"), util::config::ParseException);
  testing_support::AssertionRecorder assertions;
  config->commentOutKey("key");
  EXPECT_EQ(std::vector<std::string>({"pos != string::npos"}), assertions.conditions);
  EXPECT_EQ("broken\n", config->getText());
}

TEST_F(Configuration, UncommentingAKeyThatIsAlsoLiveFailsAndChangesNothing) {
  const auto config = fromText("#a=old\na=new\n");
  EXPECT_THROW(config->uncommentKey("a"), util::config::ParseException);
  EXPECT_EQ("#a=old\na=new\n", config->getText());
  EXPECT_EQ("new", config->getString("a"));
}

TEST_F(Configuration, RemovingTouchesOnlyTheKeysOwnLine) {
  const auto config = fromText("ab=1\n#b=old\nb=2\nc=3");
  config->removeKey("b");
  EXPECT_EQ("ab=1\n#b=old\n\nc=3", config->getText());
  EXPECT_FALSE(config->hasKey("b"));
  EXPECT_EQ("1", config->getString("ab"));
  config->removeKey("c");
  EXPECT_EQ("ab=1\n#b=old\n\n", config->getText());
  config->removeKey("nothing");  // no error
  EXPECT_EQ(1, config->getNumberOfKeys());
}

TEST_F(Configuration, LoadsReloadsAndSavesThroughItsFiles) {
  files.files["stelmar.cfg"] = "util.newsletter.SimpleSignUp.counter=3\n";
  ConfigImpl config(ConfigImpl::FILE_NAME, ConfigImpl::FROM_FILE, files, files);
  EXPECT_EQ(Config::STATE_LOADED, config.getState());
  EXPECT_EQ(3, config.getInteger("util.newsletter.SimpleSignUp.counter"));

  CountingListener listener;
  config.addListener(&listener);
  config.setInteger("util.newsletter.SimpleSignUp.counter", 4);
  config.save();
  EXPECT_EQ(Config::STATE_SAVED, config.getState());
  EXPECT_EQ(Config::STATE_SAVED, listener.lastState);
  EXPECT_EQ(2, listener.calls);
  EXPECT_EQ("util.newsletter.SimpleSignUp.counter=4\n", files.files["stelmar.cfg"]);

  config.save("copy.cfg");
  EXPECT_EQ(files.files["stelmar.cfg"], files.files["copy.cfg"]);

  files.files["stelmar.cfg"] = "util.newsletter.SimpleSignUp.counter=9\n";
  config.reload();
  EXPECT_EQ(9, config.getInteger("util.newsletter.SimpleSignUp.counter"));
  // Messages name the file.
  EXPECT_NE(std::string::npos,
            failureText<util::config::KeyDoesNotExistException>([&] { config.getString("x"); })
                .find("\nFilename: stelmar.cfg\n"));
}

TEST_F(Configuration, AnUnknownSourceAssertsAndLeavesItEmpty) {
  testing_support::AssertionRecorder recorder;
  ConfigImpl config("a=1", 2, files, files);
  EXPECT_EQ(0, config.getNumberOfKeys());
  EXPECT_EQ(std::vector<std::string>{"false"}, recorder.conditions);
}

TEST_F(Configuration, AMissingFileFailsTheConstruction) {
  EXPECT_THROW(ConfigImpl(ConfigImpl::FILE_NAME, ConfigImpl::FROM_FILE, files, files),
               io::file::CouldNotLoadFileException);
}

}  // namespace
