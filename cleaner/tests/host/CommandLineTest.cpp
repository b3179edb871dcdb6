#include "cleaner/host/CommandLine.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, SplitsAtBlanksAndHonoursQuotes) {
  using V = std::vector<std::string>;
  EXPECT_EQ(V({"C:\\Program Files\\morvel.exe", "/q:My Preset", "x"}),
            commandline::Split("\"C:\\Program Files\\morvel.exe\"  \"/q:My Preset\" x"));
  EXPECT_EQ(V({"morvel.exe", "/q:My Preset"}), commandline::Split("morvel.exe /q:\"My Preset\""));
  EXPECT_EQ(V({"a"}), commandline::Split("  a  "));
  EXPECT_EQ(V(), commandline::Split(""));
  EXPECT_EQ(V({"a", "b c"}), commandline::Split("a \"b c"));
}

TEST(CommandLine, FirstArgumentSelectsQuietModeAndPreset) {
  struct Case { const char* argument; bool quiet; const char* preset; };
  const Case cases[] = {
      {"/q", true, ""},        {"-q", true, ""},          {"/Q", true, ""},
      {"-Q", true, ""},        {"/quick", true, ""},      {"/qfoo", true, ""},
      {"/q:", true, ""},       {"/qx", true, ""},         {"/q:Weekly", true, "Weekly"},
      {"-q:My Preset", true, "My Preset"},                {"/q:a", true, "a"},
      {"q", false, ""},        {"/x", false, ""},         {"", false, ""},
      {"/", false, ""},        {"x/q", false, ""},
  };
  for (const Case& c : cases) {
    const commandline::Mode mode = commandline::ParseFirstArgument(c.argument);
    EXPECT_EQ(c.quiet, mode.quiet) << c.argument;
    EXPECT_EQ(c.preset, mode.preset) << c.argument;
  }
}

TEST(CommandLine, LogArgumentNamesTheReportFile) {
  struct Case { const char* argument; const char* path; };
  const Case cases[] = {{"/log:C:\\x.log", "C:\\x.log"}, {"-LOG:a b.txt", "a b.txt"},
                        {"/Log:", ""}, {"/log", ""}, {"/logC:\\x", ""}, {"log:x", ""},
                        {"/q:x", ""}, {"", ""}};
  for (const Case& c : cases) EXPECT_EQ(c.path, commandline::ParseLogArgument(c.argument)) << c.argument;
}

TEST(CommandLine, QuietArgumentsQuoteAPresetName) {
  EXPECT_EQ("/q", commandline::QuietArguments(""));
  EXPECT_EQ("\"/q:Weekly\"", commandline::QuietArguments("Weekly"));
  EXPECT_EQ("\"/q:My \"\"best\"\" one\"", commandline::QuietArguments("My \"best\" one"));
  // What the shortcut passes comes back as the same preset.
  const commandline::Mode mode =
      commandline::ParseFirstArgument(commandline::Split("morvel.exe " + commandline::QuietArguments("Every day"))[1]);
  EXPECT_TRUE(mode.quiet);
  EXPECT_EQ("Every day", mode.preset);
  // With the report file of the autostart page's box, blanks in its path included.
  const auto arguments = commandline::Split("morvel.exe " + commandline::QuietArguments("Every day") + " " +
                                            commandline::LogArgument("C:\\My Files\\morvel.log"));
  ASSERT_EQ(3u, arguments.size());
  EXPECT_EQ("Every day", commandline::ParseFirstArgument(arguments[1]).preset);
  EXPECT_EQ("C:\\My Files\\morvel.log", commandline::ParseLogArgument(arguments[2]));
}

}  // namespace
