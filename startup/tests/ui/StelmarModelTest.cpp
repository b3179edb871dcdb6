#include "startup/ui/StelmarModel.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace products::stelmar::ui;

std::string Encoded(const std::string& text) { return "<" + text + ">"; }

std::vector<std::string> UnderAllUsers(bool nt, bool windows64) {
  std::vector<std::string> captions;
  for (const LocationNode& node : locationNodes(nt, windows64))
    if (node.parent == 2) captions.push_back(node.caption);
  return captions;
}

TEST(StelmarModel, RunServicesNodesExistOnlyOffTheNtFamily) {
  for (bool nt : {true, false}) {
    const std::vector<std::string> underAllUsers = UnderAllUsers(nt, false);
    EXPECT_EQ(nt ? 3u : 5u, underAllUsers.size());
    EXPECT_EQ(!nt, underAllUsers.back() == std::string("Run Services Once"));
  }
  // 64-bit Windows: the 32-bit view's nodes follow, with their own types; the rest is as on
  // 32-bit Windows.
  EXPECT_EQ(std::vector<std::string>(
                {"Run", "Run Once", "Run Once Ex", "Run (32-bit)", "Run Once (32-bit)"}),
            UnderAllUsers(true, true));
  EXPECT_EQ(locationNodes(true).size() + 2, locationNodes(true, true).size());
  EXPECT_EQ(11, locationNodes(true, true)[11].type);
  EXPECT_EQ(12, locationNodes(true, true)[12].type);
  // Every node's parent comes before it, and each startup type has one node.
  std::vector<int> types;
  const auto nodes = locationNodes(false);
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    EXPECT_LT(nodes[i].parent, static_cast<int>(i));
    if (nodes[i].type >= 0) types.push_back(nodes[i].type);
  }
  std::sort(types.begin(), types.end());
  EXPECT_EQ(std::vector<int>({0, 1, 2, 3, 4, 5, 6, 7, 9}), types);
}

TEST(StelmarModel, MenusOfEachKindOfItem) {
  struct Case { ItemKind kind; std::vector<int> commands; };
  const Case cases[] = {{ItemKind::EnabledLeaf, {108, 100, 102, 103, 104, 105}},
                        {ItemKind::DisabledLeaf, {108, 101, 102, 103, 104, 105}},
                        {ItemKind::TypeNode, {107, 109, 106}},
                        {ItemKind::OtherNode, {106}}};
  for (const Case& c : cases) {
    std::vector<int> commands;
    for (const MenuItem& item : menuFor(c.kind)) commands.push_back(item.command);
    EXPECT_EQ(c.commands, commands);
  }
}

TEST(StelmarModel, InformationTexts) {
  EXPECT_EQ("This command line will be executed when the computer is started:\nx.exe\n\nStatus: "
            "This startup entry points on a valid file.",
            entryInformation("x.exe", true));
  EXPECT_EQ(0u, entryInformation("x.exe", false).find(
                    "This command line will be executed when the computer is started:\nx.exe\n\n"
                    "Status: \nStelmar can't find the file"));
  for (bool found : {true, false}) {
    const std::string off = entryInformation("x.exe", found, true);
    EXPECT_EQ(entryInformation("x.exe", found) + SWITCHED_OFF_BY_WINDOWS, off);
  }
  EXPECT_EQ("General Information:\nD", locationInformation("D", ""));
  EXPECT_EQ("General Information:\nD\n\nError description:\nE\n\nIf you have questions about "
            "this key, please include the text in this message in you email. Press CTRL+C to "
            "copy it.",
            locationInformation("D", "E"));
}

TEST(StelmarModel, OnlineInformationNamesAndAddress) {
  EXPECT_EQ("a", onlineInfoName(7, "a.b.lnk"));
  EXPECT_EQ("a.b", onlineInfoName(5, "a.b"));
  EXPECT_EQ("noDot", onlineInfoName(9, "noDot"));
  EXPECT_TRUE(isRundll("RunDll32.EXE"));
  EXPECT_FALSE(isRundll("rundll64.exe"));
  EXPECT_EQ(" shell32.dll", rundllLibrary(" shell32.dll,Control_RunDLL x.dll"
                                           ".cpl").substr(0, 12));
  EXPECT_EQ(" a.dll,b c.dll", rundllLibrary(" a.dll,b c.dll,d"));
  EXPECT_EQ("", rundllLibrary(" nothing"));
  // A configured base gets the file information service's query; an address with places
  // for the names gets them there.
  struct Case { const char* configured; const char* address; };
  const Case cases[] = {
      {"https://h", "https://h/filedb/index.php?search=&filename=<f>&startup=<n>&affiliate=smr"},
      {ONLINE_INFO_DEFAULT, "https://duckduckgo.com/?q=<f>"},
      {"s?n={name}&f={file}&g={file}", "s?n=<n>&f=<f>&g=<f>"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.address, onlineInfoAddress(c.configured, "f", "n", Encoded)) << c.configured;
}

TEST(StelmarModel, OneMutexNamePerProgramFolderInAnyCase) {
  EXPECT_EQ(instanceMutexName("C:\\Tools\\Stelmar\\"), instanceMutexName("c:\\tools\\stelmar"));
  EXPECT_NE(instanceMutexName("C:\\Tools\\Stelmar\\"), instanceMutexName("C:\\Tools\\Other\\"));
  EXPECT_EQ(std::string::npos, instanceMutexName("C:\\a\\b").find('\\'));
  EXPECT_EQ("file://C:\\p\\manual.html", manualAddress("C:\\p\\"));
  EXPECT_EQ("Stelmar.Store.0000000100000020", storeTag(1ul, 0x20ul));
}

}  // namespace
