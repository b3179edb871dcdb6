// The host's plug-in loading, item list and ticks, driven in-process with real test
// plug-in libraries copied into a temporary program folder.
#include <gtest/gtest.h>

#include "cleaner/host/Cleaning.h"
#include "cleaner/host/Host.h"
#include "common/Ini.h"
#include "tests/harness/Harness.h"

namespace {

using harness::CopyFromBuild;
using harness::ReadTextFile;
using harness::TempFolder;
using harness::WriteTextFile;

class PluginLoading : public ::testing::Test {
 protected:
  std::vector<std::string> Titles(Host& host) {
    std::vector<std::string> titles;
    for (const ListEntry& e : host.list().entries()) titles.push_back(e.item->GetTitle());
    return titles;
  }
  std::vector<bool> Ticks(Host& host) {
    std::vector<bool> ticks;
    for (const ListEntry& e : host.list().entries()) ticks.push_back(e.ticked);
    return ticks;
  }
  std::string Log() { return ReadTextFile(folder_ / "calls.log"); }
  void Start(Host& host, const std::string& arguments = "") {
    host.ParseCommandLine("morvel.exe " + arguments);
    std::string error;
    if (!host.quiet()) {
      ASSERT_TRUE(host.ReadSettings(error)) << error;
    }
    host.LoadPluginsAndFill();
  }
  TempFolder folder_;
};

using V = std::vector<std::string>;

TEST_F(PluginLoading, LoadsInByteOrderAndUnloadsInLoadOrder) {
  ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path(), "a.vkp"));
  ASSERT_TRUE(CopyFromBuild("test_more.vkp", folder_.path(), "B.vkp"));
  ASSERT_TRUE(CopyFromBuild("test_empty.vkp", folder_.path(), "c.vkp"));
  ASSERT_TRUE(CopyFromBuild("test_null.vkp", folder_.path(), "d.vkp"));
  ASSERT_TRUE(CopyFromBuild("test_noentry.vkp", folder_.path(), "e.vkp"));
  {
    Host host(folder_.path());
    Start(host);
    EXPECT_EQ(V({"Gamma", "Alpha", "Beta", "Zero", "One"}), Titles(host));
    // The host wrote the chain links over whatever the plug-ins left there.
    DLLInfo* head = host.plugins().head();
    ASSERT_NE(nullptr, head);
    ASSERT_NE(nullptr, head->next);
    ASSERT_NE(nullptr, head->next->next);
    EXPECT_EQ(0, head->next->next->itemCount);
    EXPECT_EQ(nullptr, head->next->next->next);
    EXPECT_EQ("more load\r\nitems load\r\nempty load\r\nnull load\r\nnull unload\r\n", Log());
    host.ReleasePlugins();
  }
  EXPECT_EQ("more load\r\nitems load\r\nempty load\r\nnull load\r\nnull unload\r\n"
            "more unload\r\nitems unload\r\nempty unload\r\n",
            Log());
}

TEST_F(PluginLoading, TakesAPluginWrittenInPlainC) {
  ASSERT_TRUE(CopyFromBuild("test_c.vkp", folder_.path()));
  WriteTextFile(folder_ / "morvel.ini", "[Plugins]\r\nPlain C=1\r\n");
  Host host(folder_.path());
  Start(host, "/q");
  ASSERT_EQ(1u, host.list().entries().size());
  EXPECT_EQ("Plain C (3 kB; 3 items)", host.list().entries()[0].caption);
  EXPECT_FALSE(host.list().entries()[0].item->CanConfigure());
  host.CleanQuiet();
  EXPECT_EQ(1024, host.list().entries()[0].item->GetSizeCleaned());
}

#ifndef _WIN64
// A plug-in that lays out the records from their documented offsets alone, with no header
// of ours: in process through the host's own loader, then in the shipped program.
TEST_F(PluginLoading, ReadsARecordLaidOutByteByByte) {
  ASSERT_TRUE(CopyFromBuild("test_raw.vkp", folder_.path()));
  WriteTextFile(folder_ / "morvel.ini", "[Plugins]\r\nRaw records=1\r\n");
  {
    Host host(folder_.path());
    Start(host);
    ASSERT_EQ(1u, host.list().entries().size());
    PlugInfo& item = *host.list().entries()[0].item;
    EXPECT_STREQ("Raw records", item.GetTitle());
    EXPECT_STREQ("An item laid out from the offsets alone.", item.GetDescription());
    EXPECT_EQ(5368709120LL, item.GetSizeFound());
    EXPECT_EQ(4294967297LL, item.GetCountFound());
    EXPECT_EQ("Raw records (5120.0 MB; 4294967297 items)", host.list().entries()[0].caption);
    const HMODULE module = GetModuleHandleA((folder_ / "test_raw.vkp").c_str());
    ASSERT_NE(nullptr, module);
    using IconFn = HICON(__cdecl*)();
    const auto rawIcon = reinterpret_cast<IconFn>(reinterpret_cast<void*>(GetProcAddress(module, "RawPluginIcon")));
    ASSERT_NE(nullptr, rawIcon);
    EXPECT_EQ(rawIcon(), item.GetIcon());
    EXPECT_NE(nullptr, item.GetIcon());
    ASSERT_NE(nullptr, host.plugins().head());
    EXPECT_EQ(nullptr, host.plugins().head()->next);  // was 0xDEADBEEF
    ASSERT_TRUE(item.CanConfigure());
    item.Configure();
    item.Clean();
    EXPECT_EQ(6000000000LL, item.GetSizeCleaned());
    EXPECT_EQ(4294967301LL, item.GetCountCleaned());
  }
  EXPECT_EQ("raw load\r\nraw configure\r\nraw clean\r\n", ReadTextFile(folder_ / "raw.log"));

  ASSERT_TRUE(CopyFromBuild("morvel.exe", folder_.path()));
  harness::Process morvel("\"" + folder_ / "morvel.exe\" /q");
  ASSERT_TRUE(morvel.Wait(20000).ended);
  EXPECT_EQ("raw load\r\nraw configure\r\nraw clean\r\nraw load\r\nraw clean\r\n",
            ReadTextFile(folder_ / "raw.log"));
}
#endif

TEST_F(PluginLoading, IgnoresPluginsInTheTextPluginFolderAndOtherExtensions) {
  ASSERT_TRUE(CreateDirectoryA((folder_ / "plug-ins").c_str(), nullptr));
  ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_ / "plug-ins\\"));
  ASSERT_TRUE(CopyFromBuild("test_more.vkp", folder_.path(), "more.dll"));
  Host host(folder_.path());
  Start(host);
  EXPECT_TRUE(host.list().entries().empty());
}

TEST_F(PluginLoading, CaptionsCarryCountersAbove4GiB) {
  ASSERT_TRUE(CopyFromBuild("test_big.vkp", folder_.path()));
  ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path()));
  WriteTextFile(folder_ / "morvel.ini", "[Plugins]\r\nHuge=1\r\nAlpha=1\r\n");
  Host host(folder_.path());
  Start(host);
  ASSERT_EQ(5u, host.list().entries().size());
  EXPECT_EQ("Huge (5120.0 MB; 5000000000 items)", host.list().entries()[0].caption);
  EXPECT_EQ("Alpha (2 kB; 2 items)", host.list().entries()[1].caption);
  EXPECT_EQ("Beta (0 bytes; 0 items)", host.list().entries()[2].caption);
  EXPECT_EQ("One (1 bytes; 1 item)", host.list().entries()[4].caption);
  EXPECT_EQ(5368709120LL + 2048, host.list().SelectedSizeFound());
}

TEST_F(PluginLoading, HideItemsDropsItemsWithNothingToCount) {
  ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path()));
  WriteTextFile(folder_ / "morvel.ini", "[morvel]\r\nHideItems=1\r\n");
  Host host(folder_.path());
  Start(host);
  // "Zero" has bytes but no entries: hidden all the same.
  EXPECT_EQ(V({"Alpha", "One"}), Titles(host));
}

TEST_F(PluginLoading, TicksAreReadAsFlags) {
  ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path()));
  WriteTextFile(folder_ / "morvel.ini",
                "[Plugins]\r\nAlpha=1\r\nBeta=2\r\nZero=-1\r\nOne=0x10\r\n"
                "[Other]\r\nalpha=0\r\nBETA=abc\r\nOne=1\r\n");
  {
    Host host(folder_.path());
    Start(host);
    EXPECT_EQ(std::vector<bool>({true, true, true, true}), Ticks(host));
  }
  WriteTextFile(folder_ / "morvel.ini", "[Plugins]\r\nAlpha=1\r\n[Other]\r\nalpha=0\r\nBETA=abc\r\nOne=1\r\n");
  Host host(folder_.path());
  Start(host, "/q:Other");
  EXPECT_EQ(std::vector<bool>({false, false, false, true}), Ticks(host));
}

TEST_F(PluginLoading, TicksComeFromPresetThenLastSettingThenPlugins) {
  ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path()));
  WriteTextFile(folder_ / "morvel.ini",
                "[MORVEL]\r\nLast setting=Weekly\r\n[Plugins]\r\nAlpha=1\r\n[Weekly]\r\nBeta=1\r\n");
  {
    Host host(folder_.path());
    Start(host);
    EXPECT_EQ(std::vector<bool>({false, true, false, false}), Ticks(host));
  }
  {
    Host host(folder_.path());
    Start(host, "/q:Nothing");  // no such section: nothing ticked
    EXPECT_EQ(std::vector<bool>({false, false, false, false}), Ticks(host));
  }
  WriteTextFile(folder_ / "morvel.ini", "[MORVEL]\r\nLast setting=\r\n[Plugins]\r\nAlpha=1\r\n");
  Host host(folder_.path());
  Start(host);
  EXPECT_EQ(std::vector<bool>({true, false, false, false}), Ticks(host));
}

TEST_F(PluginLoading, QuietRunCleansTickedItemsInListOrder) {
  ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path(), "a.vkp"));
  ASSERT_TRUE(CopyFromBuild("test_more.vkp", folder_.path(), "b.vkp"));
  WriteTextFile(folder_ / "morvel.ini", "[Plugins]\r\nOne=1\r\nGamma=1\r\nAlpha=1\r\n");
  Host host(folder_.path());
  Start(host, "/q");
  RebootFileCount = 7;
  host.CleanQuiet();
  EXPECT_EQ(0, RebootFileCount);
  EXPECT_EQ("items load\r\nmore load\r\nitems clean Alpha\r\nitems clean One\r\nmore clean Gamma\r\n", Log());
  EXPECT_EQ(2048, host.list().entries()[0].item->GetSizeCleaned());
  EXPECT_EQ(0, host.list().entries()[1].item->GetCountCleaned());
}

TEST_F(PluginLoading, InteractiveRunWordsResultLines) {
  ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path()));
  ASSERT_TRUE(CopyFromBuild("test_big.vkp", folder_.path()));
  WriteTextFile(folder_ / "morvel.ini", "[Plugins]\r\nOne=1\r\nHuge=1\r\nBeta=1\r\n");
  Host host(folder_.path());
  Start(host);
  const CleaningResult result = RunCleaning(host.list(), true);
  EXPECT_EQ(V({"Huge (5120.0 MB; 5000000000 items): cleaned 5120.0 MB in 5000000000 items.",
               "Beta (0 bytes; 0 items): cleaned 0 bytes in 0 items.",
               "One (1 bytes; 1 item): cleaned 1 bytes in 1 item.", "",
               "Scheduled 0 file(s) for removal on reboot.", "",
               "Cleaned total of 5120.0 MB in 5000000001 items."}),
            result.lines);
}

TEST_F(PluginLoading, SaveSelectionWritesEveryTitleAndLastSetting) {
  ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path()));
  WriteTextFile(folder_ / "morvel.ini", "[MORVEL]\r\nLast setting=Old\r\n[Old]\r\nBeta=1\r\n");
  Host host(folder_.path());
  Start(host);
  host.list().entries()[0].ticked = true;
  std::string failed;
  ASSERT_TRUE(host.SaveTicks("", failed));
  const std::string ini = folder_ / "morvel.ini";
  EXPECT_EQ("1", ini::ReadString(ini, "Plugins", "Alpha", "?"));
  EXPECT_EQ("1", ini::ReadString(ini, "Plugins", "Beta", "?"));
  EXPECT_EQ("0", ini::ReadString(ini, "Plugins", "Zero", "?"));
  EXPECT_EQ("0", ini::ReadString(ini, "Plugins", "One", "?"));
  EXPECT_EQ("", ini::ReadString(ini, "MORVEL", "Last setting", "?"));
}

TEST_F(PluginLoading, SaveSelectionReportsAFileThatCannotBeWritten) {
  ASSERT_TRUE(CopyFromBuild("test_items.vkp", folder_.path()));
  // A folder where the file should be refuses every write.
  ASSERT_TRUE(CreateDirectoryA((folder_ / "Morvel.ini").c_str(), nullptr));
  Host host(folder_.path());
  host.ParseCommandLine("morvel.exe");
  host.LoadPluginsAndFill();
  std::string failed;
  EXPECT_FALSE(host.SaveTicks("", failed));
  EXPECT_EQ(folder_ / "Morvel.ini", failed);
}

}  // namespace
