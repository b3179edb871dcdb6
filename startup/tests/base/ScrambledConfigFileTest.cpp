#include "startup/util/config/ScrambledConfigFile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "common/Unique.h"
#include "startup/io/file/FileHelper.h"
#include "startup/platform/errorresources/Exceptions.h"
#include "startup/util/config/ConfigImpl.h"
#include "tests/harness/Harness.h"

namespace {

using io::file::FileHelper;
using util::config::ConfigImpl;
using util::config::ScrambledConfigFile;

std::string scrambled(const std::string& text) {
  util::config::Scrambler scrambler;
  return scrambler.scramble(text);
}

TEST(ScrambledConfigFile, ReadsAndWritesTheScrambledFile) {
  harness::TempFolder folder;
  const std::string file = folder / "stelmar.cfg";
  const std::string text = "util.newsletter.SimpleSignUp.askForEmailAddress=true\r\n"
                           "util.newsletter.SimpleSignUp.counter=5\r\n";
  FileHelper::save(file, scrambled(text));

  ScrambledConfigFile files;
  ConfigImpl config(file, ConfigImpl::FROM_FILE, files, files);
  EXPECT_TRUE(config.getBoolean("util.newsletter.SimpleSignUp.askForEmailAddress"));
  config.setInteger("util.newsletter.SimpleSignUp.counter", 6);
  config.save();
  // Every load and save starts at the first key byte again.
  config.save();
  const std::string written = FileHelper::load(file);
  EXPECT_EQ(text.size(), written.size());
  EXPECT_EQ(scrambled("util.newsletter.SimpleSignUp.askForEmailAddress=true\r\n"
                      "util.newsletter.SimpleSignUp.counter=6\r\n"),
            written);
  config.reload();
  config.reload();
  EXPECT_EQ(6, config.getInteger("util.newsletter.SimpleSignUp.counter"));
}

TEST(ScrambledConfigFile, ASaveOverALockedFileLosesNothing) {
  harness::TempFolder folder;
  const std::string file = folder / "stelmar.cfg";
  FileHelper::save(file, scrambled("a=1\n"));
  ScrambledConfigFile files;
  ConfigImpl config(file, ConfigImpl::FROM_FILE, files, files);
  config.setString("a", "2");
  {
    win::UniqueFile lock(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock);
    EXPECT_THROW(config.save(), io::file::CouldNotSaveFileException);
  }
  EXPECT_EQ(scrambled("a=1\n"), FileHelper::load(file));
  EXPECT_EQ(util::config::Config::STATE_CHANGED, config.getState());
  config.save();  // once the file is free again
  EXPECT_EQ(scrambled("a=2\n"), FileHelper::load(file));
}

struct Died {};
void dieBeforeReplacing(const std::string&) { throw Died(); }

TEST(ScrambledConfigFile, ASaveThatDiesMidwayLeavesTheOldFileWhole) {
  harness::TempFolder folder;
  const std::string file = folder / "stelmar.cfg";
  FileHelper::save(file, scrambled("a=1\nb=2\n"));
  ScrambledConfigFile files;
  ConfigImpl config(file, ConfigImpl::FROM_FILE, files, files);
  config.setString("b", "3");
  const FileHelper::ReplaceHook before = FileHelper::setBeforeReplaceHook(dieBeforeReplacing);
  EXPECT_THROW(config.save(), Died);
  FileHelper::setBeforeReplaceHook(before);

  ScrambledConfigFile fresh;
  ConfigImpl again(file, ConfigImpl::FROM_FILE, fresh, fresh);
  EXPECT_EQ("a=1\nb=2\n", again.getText());
}

TEST(ScrambledConfigFile, AMissingFileNamesItInTheFailure) {
  harness::TempFolder folder;
  ScrambledConfigFile files;
  try {
    ConfigImpl config(folder / "stelmar.cfg", ConfigImpl::FROM_FILE, files, files);
    ADD_FAILURE();
  } catch (const io::file::CouldNotLoadFileException& e) {
    EXPECT_NE(std::string::npos, e.getMessage().find("Filename: '" + folder / "stelmar.cfg" + "'"));
  }
}

}  // namespace
