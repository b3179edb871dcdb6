// The shipped text plug-ins, each cleaning a tree made like its application's own folders
// in a quiet run of the real host: what must go goes, and cookies, passwords, bookmarks,
// history and settings stay.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "cleaner/textplugin/Textpluginfo.h"
#include "cleaner/tests/textplugin/TextPluginFixtures.h"
#include "common/Ini.h"

namespace {

using namespace harness;

struct Case {
  const char* plugin;
  // Paths below the fake profile: "Local\..." is %localappdata%, "Roaming\..." %appdata%,
  // "Windows\..." %windir%.
  std::vector<std::string> gone;
  std::vector<std::string> stay;
};

// A Chromium browser's "User Data" folder: the cache folders go, the profile's data stays.
Case Chromium(const char* plugin, const std::string& userData) {
  auto at = [&](const char* tail) { return userData + tail; };
  return {plugin,
          {at("\\Default\\Cache\\Cache_Data\\data_0"), at("\\Default\\Cache\\Cache_Data\\f_00001a"),
           at("\\Default\\Code Cache\\js\\index"), at("\\Default\\GPUCache\\data_1"),
           at("\\ShaderCache\\data_0"), at("\\GrShaderCache\\data_1")},
          {at("\\Default\\Network\\Cookies"), at("\\Default\\Cookies"), at("\\Default\\Login Data"),
           at("\\Default\\History"), at("\\Default\\Bookmarks"), at("\\Default\\Preferences"),
           at("\\Default\\Sessions\\Session_1"), at("\\Local State")}};
}

std::vector<Case> Cases() {
  return {
      Chromium("chrome-cache.vkt", "Local\\Google\\Chrome\\User Data"),
      Chromium("edge-cache.vkt", "Local\\Microsoft\\Edge\\User Data"),
      Chromium("brave-cache.vkt", "Local\\BraveSoftware\\Brave-Browser\\User Data"),
      Chromium("vivaldi-cache.vkt", "Local\\Vivaldi\\User Data"),
      {"opera-cache.vkt",
       {"Local\\Opera Software\\Opera Stable\\Cache\\Cache_Data\\data_0",
        "Roaming\\Opera Software\\Opera Stable\\Code Cache\\js\\index",
        "Roaming\\Opera Software\\Opera Stable\\GPUCache\\data_0"},
       {"Roaming\\Opera Software\\Opera Stable\\Network\\Cookies",
        "Roaming\\Opera Software\\Opera Stable\\Login Data", "Roaming\\Opera Software\\Opera Stable\\Bookmarks",
        "Roaming\\Opera Software\\Opera Stable\\History", "Roaming\\Opera Software\\Opera Stable\\Preferences"}},
      {"firefox-cache.vkt",
       {"Local\\Mozilla\\Firefox\\Profiles\\a1b2.default-release\\cache2\\entries\\0A1B",
        "Local\\Mozilla\\Firefox\\Profiles\\a1b2.default-release\\startupCache\\scriptCache.bin",
        "Local\\Mozilla\\Firefox\\Profiles\\x9y8.work\\cache2\\entries\\FF00",
        "Local\\Mozilla\\Firefox\\Profiles\\x9y8.work\\thumbnails\\t.png"},
       {"Roaming\\Mozilla\\Firefox\\profiles.ini",
        "Roaming\\Mozilla\\Firefox\\Profiles\\a1b2.default-release\\places.sqlite",
        "Roaming\\Mozilla\\Firefox\\Profiles\\a1b2.default-release\\cookies.sqlite",
        "Roaming\\Mozilla\\Firefox\\Profiles\\a1b2.default-release\\logins.json",
        "Roaming\\Mozilla\\Firefox\\Profiles\\a1b2.default-release\\key4.db",
        "Roaming\\Mozilla\\Firefox\\Profiles\\a1b2.default-release\\prefs.js",
        "Roaming\\Mozilla\\Firefox\\Profiles\\a1b2.default-release\\sessionstore.jsonlz4",
        "Roaming\\Mozilla\\Firefox\\Profiles\\x9y8.work\\places.sqlite"}},
      {"thumbnail-cache.vkt",
       {"Local\\Microsoft\\Windows\\Explorer\\thumbcache_256.db", "Local\\Microsoft\\Windows\\Explorer\\thumbcache_idx.db"},
       {"Local\\Microsoft\\Windows\\Explorer\\iconcache_16.db", "Local\\Microsoft\\Windows\\Explorer\\ExplorerStartupLog.etl"}},
      {"icon-cache.vkt",
       {"Local\\IconCache.db", "Local\\Microsoft\\Windows\\Explorer\\iconcache_16.db",
        "Local\\Microsoft\\Windows\\Explorer\\iconcache_idx.db"},
       {"Local\\Microsoft\\Windows\\Explorer\\thumbcache_256.db", "Local\\IconCache.db.bak"}},
      {"crash-dumps.vkt",
       {"Local\\CrashDumps\\explorer.exe.1234.dmp", "Local\\CrashDumps\\app.exe.99.dmp"},
       {"Local\\CrashDumps\\notes.txt", "Local\\Temp\\keep.dmp"}},
      {"error-reports.vkt",
       {"Local\\Microsoft\\Windows\\WER\\ReportArchive\\AppCrash_x_1\\Report.wer"},
       {"Local\\Microsoft\\Windows\\WER\\ReportQueue\\AppCrash_y_2\\Report.wer"}},
      {"user-temp.vkt",
       {"Local\\Temp\\setup.log", "Local\\Temp\\~DF12.tmp", "Local\\Temp\\installer\\big.cab"},
       {"Local\\Microsoft\\Windows\\Explorer\\thumbcache_256.db", "Local\\Google\\Chrome\\User Data\\Default\\Cookies"}},
      {"recent-documents.vkt",
       {"Roaming\\Microsoft\\Windows\\Recent\\letter.docx.lnk"},
       {"Roaming\\Microsoft\\Windows\\Recent\\desktop.ini", "Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\app.lnk"}},
      {"app-logs.vkt",
       {"Roaming\\Code\\logs\\20261208T101010\\main.log", "Roaming\\Slack\\logs\\app.log",
        "Roaming\\Zoom\\logs\\zoom_stdout.txt", "Roaming\\Microsoft\\Teams\\logs.txt"},
       {"Roaming\\Code\\User\\settings.json", "Roaming\\Slack\\storage\\root-state.json",
        "Roaming\\Zoom\\data\\Zoom.us.ini", "Roaming\\Microsoft\\Teams\\desktop-config.json"}},
      {"teams-cache.vkt",
       {"Roaming\\Microsoft\\Teams\\Cache\\data_0", "Roaming\\Microsoft\\Teams\\Code Cache\\js\\index",
        "Roaming\\Microsoft\\Teams\\GPUCache\\data_1",
        "Roaming\\Microsoft\\Teams\\Service Worker\\CacheStorage\\abc\\x", "Roaming\\Microsoft\\Teams\\tmp\\t.tmp"},
       {"Roaming\\Microsoft\\Teams\\Cookies", "Roaming\\Microsoft\\Teams\\desktop-config.json",
        "Roaming\\Microsoft\\Teams\\IndexedDB\\chat.db", "Roaming\\Microsoft\\Teams\\Service Worker\\Database\\x"}},
      {"slack-cache.vkt",
       {"Roaming\\Slack\\Cache\\Cache_Data\\data_0", "Roaming\\Slack\\Code Cache\\js\\index",
        "Roaming\\Slack\\GPUCache\\data_0", "Roaming\\Slack\\Service Worker\\CacheStorage\\k\\v"},
       {"Roaming\\Slack\\Cookies", "Roaming\\Slack\\storage\\root-state.json", "Roaming\\Slack\\Local Storage\\leveldb\\x.ldb"}},
      {"discord-cache.vkt",
       {"Roaming\\discord\\Cache\\Cache_Data\\f_0001", "Roaming\\discord\\Code Cache\\js\\index",
        "Roaming\\discord\\GPUCache\\data_0"},
       {"Roaming\\discord\\Cookies", "Roaming\\discord\\settings.json", "Roaming\\discord\\Local Storage\\leveldb\\x.ldb"}},
      {"spotify-cache.vkt",
       {"Local\\Spotify\\Data\\ab\\abcdef.file", "Local\\Spotify\\Browser\\Cache\\Cache_Data\\data_0"},
       {"Roaming\\Spotify\\prefs", "Local\\Spotify\\Users\\someone-user\\local-files.bnk"}},
      {"windows-temp.vkt", {"Windows\\Temp\\a.tmp", "Windows\\Temp\\B.TMP"},
       {"Windows\\Temp\\keep.log", "Windows\\Temp\\sub\\deeper.tmp"}},
      {"vscode-cache.vkt",
       {"Roaming\\Code\\Cache\\Cache_Data\\data_0", "Roaming\\Code\\CachedData\\1a2b\\chrome\\js\\x.code",
        "Roaming\\Code\\Code Cache\\js\\index", "Roaming\\Code\\GPUCache\\data_0",
        "Roaming\\Code\\CachedExtensionVSIXs\\ms-python.python-1.0.0"},
       {"Roaming\\Code\\User\\settings.json", "Roaming\\Code\\User\\keybindings.json",
        "Roaming\\Code\\Backups\\workspaces.json", "Roaming\\Code\\Cookies"}},
  };
}

// Points %localappdata% and %appdata% of the programs this test starts at a fake profile.
class ProfileEnvironment {
 public:
  explicit ProfileEnvironment(const std::string& profile) {
    for (const auto& [name, folder] : {std::pair{"LOCALAPPDATA", "Local"}, std::pair{"APPDATA", "Roaming"},
                                       std::pair{"windir", "Windows"}}) {
      char old[MAX_PATH] = "";
      GetEnvironmentVariableA(name, old, MAX_PATH);
      saved_.push_back({name, old});
      SetEnvironmentVariableA(name, (profile + folder).c_str());
    }
  }
  ~ProfileEnvironment() {
    for (const auto& [name, value] : saved_) SetEnvironmentVariableA(name.c_str(), value.c_str());
  }
  ProfileEnvironment(const ProfileEnvironment&) = delete;
  ProfileEnvironment& operator=(const ProfileEnvironment&) = delete;

 private:
  std::vector<std::pair<std::string, std::string>> saved_;
};

TEST(PluginLibrary, EveryPluginCleansItsApplicationsCacheAndKeepsItsData) {
  const std::string library = BuildFolder() + "sample-plug-ins\\";
  std::vector<std::string> covered;
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.plugin);
    covered.push_back(c.plugin);
    TempFolder program;
    TempFolder profile;
    ASSERT_TRUE(CopyFromBuild("morvel.exe", program.path()));
    CreateDirectoryA((program / "plug-ins").c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((library + c.plugin).c_str(), (program / "plug-ins\\" + c.plugin).c_str(), FALSE));
    const std::string title = ini::ReadString(library + c.plugin, "Info", "Title", "");
    ASSERT_FALSE(title.empty());
    ASSERT_TRUE(ini::WriteString(program / "morvel.ini", "Plugins", title, "1"));
    for (const auto* list : {&c.gone, &c.stay})
      for (const std::string& path : *list) ASSERT_TRUE(fixtures::MakeFile(profile / path, 100)) << path;
    {
      ProfileEnvironment environment(profile.path());
      Process morvel("\"" + program.path() + "morvel.exe\" /q");
      ASSERT_TRUE(morvel.Wait(30000).ended);
    }
    for (const std::string& path : c.gone) EXPECT_FALSE(FileExists(profile / path)) << "still there: " << path;
    for (const std::string& path : c.stay) EXPECT_TRUE(FileExists(profile / path)) << "deleted: " << path;
  }
  // Every shipped plug-in has its case here.
  std::sort(covered.begin(), covered.end());
  EXPECT_EQ(SortedFileNames(library, "*.vkt"), covered);
}

}  // namespace
