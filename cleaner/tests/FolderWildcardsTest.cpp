#include "cleaner/FolderWildcards.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>

namespace {

using Paths = std::vector<std::string>;

// A folder tree in memory: each folder (with its '\') and its subfolders as listed, in
// the listing's own order. Folders in `links` are not plain.
struct Tree {
  std::map<std::string, Paths> folders;
  std::set<std::string> links;
  wildcards::Expansion Expand(const std::string& path, Paths& out, std::size_t budget = wildcards::kMaxPaths) const {
    const auto list = [this](const std::string& folder) {
      const auto found = folders.find(folder);
      return found == folders.end() ? Paths() : found->second;
    };
    const auto plain = [this](const std::string& folder) {
      return folders.count(folder) != 0 && links.count(folder) == 0;
    };
    return wildcards::ExpandFolderWildcards(path, list, plain, textentries::AsciiCaseFold(), budget, out);
  }
};

TEST(FolderWildcards, OnePathPerMatchingFolderInNameOrder) {
  Tree tree;
  tree.folders = {{"C:\\U\\", {"Profile 2", "default", "Guest Profile", "ShaderCache", "odd.", "odd "}},
                  {"C:\\U\\Profile 2\\", {"Cache"}},
                  {"C:\\U\\Profile 2\\Cache\\", {}},
                  {"C:\\U\\default\\", {"Cache", "Network"}},
                  {"C:\\U\\default\\Cache\\", {}},
                  {"C:\\U\\Guest Profile\\", {"Cache"}},
                  {"C:\\U\\Guest Profile\\Cache\\", {}},
                  {"C:\\U\\odd.\\Cache\\", {}},
                  {"C:\\U\\odd \\Cache\\", {}},
                  {"C:\\P\\", {"MSTeams_8wekyb3d8bbwe", "MSTeams_old"}},
                  {"C:\\P\\MSTeams_8wekyb3d8bbwe\\", {"LocalCache"}},
                  {"C:\\P\\MSTeams_8wekyb3d8bbwe\\LocalCache\\", {"WV2Profile_tfw", "EBWebView"}},
                  {"C:\\P\\MSTeams_8wekyb3d8bbwe\\LocalCache\\WV2Profile_tfw\\", {}},
                  {"C:\\P\\MSTeams_old\\", {}},
                  {"C:\\P\\MSTeams_old\\LocalCache\\", {}}};
  tree.links = {"C:\\P\\MSTeams_old\\LocalCache\\"};  // a link met after the wildcard
  struct Case { const char* path; Paths paths; wildcards::Outcome outcome; };
  using wildcards::Outcome;
  const Case cases[] = {
      {"C:\\U\\*\\Cache\\*.* /S",
       {"C:\\U\\default\\Cache\\*.* /S", "C:\\U\\Guest Profile\\Cache\\*.* /S", "C:\\U\\Profile 2\\Cache\\*.* /S"},
       Outcome::kExpanded},
      {"C:\\U\\Profile ?\\*.tmp", {"C:\\U\\Profile 2\\*.tmp"}, Outcome::kExpanded},
      {"C:\\U\\*Cache\\*.*", {"C:\\U\\ShaderCache\\*.*"}, Outcome::kExpanded},
      {"C:\\P\\MSTeams_*\\LocalCache\\*\\*.* /S",
       {"C:\\P\\MSTeams_8wekyb3d8bbwe\\LocalCache\\EBWebView\\*.* /S",
        "C:\\P\\MSTeams_8wekyb3d8bbwe\\LocalCache\\WV2Profile_tfw\\*.* /S"},
       Outcome::kExpanded},
      {"C:\\U\\none*\\*.*", {}, Outcome::kExpanded},
      {"C:\\U\\default\\*.tmp /S", {}, Outcome::kNoWildcard},       // a mask is no folder wildcard
      {"C:\\U\\a/b\\*\\*.tmp", {}, Outcome::kNoWildcard},           // switch text is no folder
      {"C:\\*\\*\\*\\*.*", {}, Outcome::kTooManyWildcards},
      {"?:\\U\\*\\*.*", {}, Outcome::kWildcardInRoot},
      {"\\\\srv\\sh*\\U\\*.*", {}, Outcome::kWildcardInRoot},
  };
  for (const Case& c : cases) {
    Paths out;
    EXPECT_EQ(c.outcome, tree.Expand(c.path, out).outcome) << c.path;
    EXPECT_EQ(c.paths, out) << c.path;
  }
}

TEST(FolderWildcards, StopsAtItsLimits) {
  Tree tree;
  Paths names;
  for (int i = 0; i < 300; ++i) {
    char name[8];
    std::snprintf(name, sizeof name, "f%03d", i);
    names.push_back(name);
    tree.folders["C:\\T\\" + std::string(name) + "\\"] = {};
  }
  tree.folders["C:\\T\\"] = names;
  struct Case { std::size_t budget; std::size_t paths; const char* last; };
  const Case cases[] = {{wildcards::kMaxPaths, 256, "C:\\T\\f255\\*.*"},
                        {1000, 256, "C:\\T\\f255\\*.*"},  // never past the line's limit
                        {10, 10, "C:\\T\\f009\\*.*"}};    // what the line has left
  for (const Case& c : cases) {
    Paths out{"earlier path"};
    const wildcards::Expansion e = tree.Expand("C:\\T\\*\\*.*", out, c.budget);
    EXPECT_TRUE(e.truncated) << c.budget;
    ASSERT_EQ(c.paths + 1, out.size()) << c.budget;
    EXPECT_EQ(c.last, out.back());
  }
  Paths out;
  EXPECT_FALSE(tree.Expand("C:\\T\\f00?\\*.*", out).truncated);
  EXPECT_EQ(10u, out.size());
}

}  // namespace
