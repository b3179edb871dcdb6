#include "cleaner/textplugin/FolderWildcards.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using Paths = std::vector<std::string>;
using wildcards::Outcome;

// Folders in memory with the subfolders their listings give; a folder missing from the map
// is no plain folder (absent, or a link).
wildcards::Expansion Expand(const std::map<std::string, Paths>& tree, const std::string& path, Paths& out,
                            std::size_t budget = wildcards::kMaxPaths) {
  const auto list = [&](const std::string& f) { return tree.count(f) ? tree.at(f) : Paths(); };
  const auto plain = [&](const std::string& f) { return tree.count(f) != 0; };
  return wildcards::ExpandFolderWildcards(path, list, plain, textentries::AsciiCaseFold(), budget, out);
}

TEST(FolderWildcards, OnePathPerMatchingPlainFolderInNameOrder) {
  const std::map<std::string, Paths> tree = {
      {"C:\\U\\", {"Profile 2", "default", "Guest", "odd.", "odd ", "Linked"}}, {"C:\\U\\Linked\\", {}},
      {"C:\\U\\Profile 2\\Cache\\", {}}, {"C:\\U\\default\\Cache\\", {}}, {"C:\\U\\Guest\\Cache\\", {}},
      {"C:\\U\\odd.\\Cache\\", {}}, {"C:\\U\\odd \\Cache\\", {}}, {"C:\\U\\default\\", {}},
      {"C:\\U\\Profile 2\\", {}}, {"C:\\U\\Guest\\", {}}};
  struct Case { const char* path; Paths paths; Outcome outcome; };
  const Case cases[] = {
      {"C:\\U\\*\\Cache\\*.* /S",
       {"C:\\U\\default\\Cache\\*.* /S", "C:\\U\\Guest\\Cache\\*.* /S", "C:\\U\\Profile 2\\Cache\\*.* /S"},
       Outcome::kExpanded},
      {"C:\\U\\default\\*.tmp /S", {}, Outcome::kNoWildcard},  // a mask is no folder wildcard
      {"C:\\*\\*\\*\\*.*", {}, Outcome::kTooManyWildcards},
      {"\\\\srv\\sh*\\U\\*.*", {}, Outcome::kWildcardInRoot},
  };
  for (const Case& c : cases) {
    Paths out;
    EXPECT_EQ(c.outcome, Expand(tree, c.path, out).outcome) << c.path;
    EXPECT_EQ(c.paths, out) << c.path;
  }
}

TEST(FolderWildcards, StopsAtTheLinesLimit) {
  std::map<std::string, Paths> tree;
  for (int i = 100; i < 400; ++i) {
    tree["C:\\T\\"].push_back("f" + std::to_string(i));
    tree["C:\\T\\f" + std::to_string(i) + "\\"];
  }
  struct Case { std::size_t budget, paths; const char* last; };
  for (const Case& c : {Case{1000, 256, "C:\\T\\f355\\*.*"}, Case{10, 10, "C:\\T\\f109\\*.*"}}) {
    Paths out{"an earlier line's path"};
    EXPECT_TRUE(Expand(tree, "C:\\T\\*\\*.*", out, c.budget).truncated) << c.budget;
    EXPECT_EQ(c.paths + 1, out.size()) << c.budget;
    EXPECT_EQ(c.last, out.back());
  }
}

}  // namespace
