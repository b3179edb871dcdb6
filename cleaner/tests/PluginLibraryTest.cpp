// The shipped text plug-ins, each cleaning a tree made like its application's own folders
// in a quiet run of the real host: what must go goes, and cookies, passwords, bookmarks,
// history, settings, site data and extensions stay.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "cleaner/BinaryPlugins.h"
#include "cleaner/tests/TextPluginFixtures.h"
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

// A Chromium browser's "User Data" folder with three profiles and the guest profile: the
// cache folders of each profile and those beside them go, the profiles' data stays.
Case Chromium(const char* plugin, const std::string& userData) {
  auto at = [&](const char* tail) { return userData + tail; };
  return {plugin,
          {at("\\Default\\Cache\\Cache_Data\\data_0"), at("\\Default\\Code Cache\\js\\index"),
           at("\\Default\\GPUCache\\data_1"), at("\\Default\\DawnGraphiteCache\\data_0"),
           at("\\Profile 1\\Cache\\Cache_Data\\f_00001a"), at("\\Profile 2\\Code Cache\\wasm\\index"),
           at("\\Guest Profile\\Cache\\Cache_Data\\data_0"), at("\\ShaderCache\\data_0"),
           at("\\GrShaderCache\\data_1"), at("\\GraphiteDawnCache\\data_0"),
           at("\\component_crx_cache\\abc_1"), at("\\extensions_crx_cache\\ext_1")},
          {at("\\Default\\Network\\Cookies"), at("\\Default\\Login Data"), at("\\Default\\History"),
           at("\\Default\\Bookmarks"), at("\\Default\\Preferences"), at("\\Default\\Sessions\\Session_1"),
           at("\\Default\\Local Storage\\leveldb\\000003.log"), at("\\Default\\IndexedDB\\x.indexeddb.leveldb\\LOG"),
           at("\\Default\\Service Worker\\CacheStorage\\k\\index"), at("\\Default\\Extensions\\ab\\1.0\\manifest.json"),
           at("\\Profile 1\\Network\\Cookies"), at("\\Profile 2\\Login Data"), at("\\Guest Profile\\Preferences"),
           at("\\Local State")}};
}

// Opera and Opera GX: today's "Default" profile and the flat layout of older versions.
Case Opera(const char* plugin, const std::string& folder) {
  const std::string local = "Local\\Opera Software\\" + folder, roaming = "Roaming\\Opera Software\\" + folder;
  return {plugin,
          {local + "\\Default\\Cache\\Cache_Data\\data_0", local + "\\Cache\\Cache_Data\\data_0",
           roaming + "\\Default\\Code Cache\\js\\index", roaming + "\\Default\\GPUCache\\data_0",
           roaming + "\\Code Cache\\js\\index", roaming + "\\GrShaderCache\\data_0", roaming + "\\ShaderCache\\data_0"},
          {roaming + "\\Default\\Network\\Cookies", roaming + "\\Default\\Login Data", roaming + "\\Default\\Bookmarks",
           roaming + "\\Default\\History", roaming + "\\Default\\Preferences",
           roaming + "\\Default\\Local Storage\\leveldb\\x.ldb", roaming + "\\Default\\Extensions\\ab\\manifest.json",
           roaming + "\\Local State"}};
}

std::vector<Case> Cases() {
  const std::string teams = "Local\\Packages\\MSTeams_8wekyb3d8bbwe\\LocalCache\\Microsoft\\MSTeams\\";
  const std::string spotify = "Local\\Packages\\SpotifyAB.SpotifyMusic_zpdnekdrzrea0\\LocalCache\\Spotify\\";
  const std::string firefox = "Local\\Mozilla\\Firefox\\Profiles\\";
  const std::string roamingFirefox = "Roaming\\Mozilla\\Firefox\\Profiles\\";
  return {
      Chromium("chrome-cache.vkt", "Local\\Google\\Chrome\\User Data"),
      Chromium("edge-cache.vkt", "Local\\Microsoft\\Edge\\User Data"),
      Chromium("brave-cache.vkt", "Local\\BraveSoftware\\Brave-Browser\\User Data"),
      Chromium("vivaldi-cache.vkt", "Local\\Vivaldi\\User Data"),
      Opera("opera-cache.vkt", "Opera Stable"),
      Opera("opera-gx-cache.vkt", "Opera GX Stable"),
      {"firefox-cache.vkt",
       {firefox + "a1b2.default-release\\cache2\\entries\\0A1B", firefox + "a1b2.default-release\\startupCache\\scriptCache.bin",
        firefox + "a1b2.default-release\\jumpListCache\\a.ico", firefox + "a1b2.default-release\\shader-cache\\s",
        firefox + "x9y8.work\\cache2\\entries\\FF00"},
       {firefox + "a1b2.default-release\\thumbnails\\t.png", firefox + "a1b2.default-release\\safebrowsing\\google4\\x.vlpset",
        firefox + "x9y8.work\\", "Roaming\\Mozilla\\Firefox\\profiles.ini",
        roamingFirefox + "a1b2.default-release\\places.sqlite", roamingFirefox + "a1b2.default-release\\cookies.sqlite",
        roamingFirefox + "a1b2.default-release\\logins.json", roamingFirefox + "a1b2.default-release\\key4.db",
        roamingFirefox + "a1b2.default-release\\prefs.js", roamingFirefox + "a1b2.default-release\\sessionstore.jsonlz4",
        roamingFirefox + "a1b2.default-release\\storage\\default\\https+++x\\idb\\1.sqlite",
        roamingFirefox + "x9y8.work\\places.sqlite", roamingFirefox + "x9y8.work\\extensions\\addon@x.xpi"}},
      {"thumbnail-cache.vkt",
       {"Local\\Microsoft\\Windows\\Explorer\\thumbcache_256.db", "Local\\Microsoft\\Windows\\Explorer\\thumbcache_idx.db"},
       {"Local\\Microsoft\\Windows\\Explorer\\iconcache_16.db", "Local\\Microsoft\\Windows\\Explorer\\ExplorerStartupLog.etl"}},
      {"icon-cache.vkt",
       {"Local\\IconCache.db", "Local\\IconCache.db.backup", "Local\\Microsoft\\Windows\\Explorer\\iconcache_16.db",
        "Local\\Microsoft\\Windows\\Explorer\\iconcache_idx.db"},
       {"Local\\Microsoft\\Windows\\Explorer\\thumbcache_256.db", "Local\\IconCache.db.bak"}},
      {"crash-dumps.vkt",
       {"Local\\CrashDumps\\explorer.exe.1234.dmp", "Local\\CrashDumps\\app.exe.99.dmp"},
       {"Local\\CrashDumps\\notes.txt", "Local\\Temp\\keep.dmp"}},
      {"error-reports.vkt",
       {"Local\\Microsoft\\Windows\\WER\\ReportArchive\\AppCrash_x_1\\Report.wer",
        "Local\\Microsoft\\Windows\\WER\\ReportQueue\\AppCrash_y_2\\Report.wer"},
       {"Local\\Microsoft\\Windows\\WER\\ERC\\statecache.lock", "Local\\CrashDumps\\app.exe.99.dmp"}},
      {"user-temp.vkt",
       {"Local\\Temp\\setup.log", "Local\\Temp\\~DF12.tmp", "Local\\Temp\\installer\\big.cab", "Local\\Temp\\installer\\",
        "Local\\Temp\\7z\\a\\b.dll", "Local\\Temp\\7z\\", "Local\\Temp\\Low\\ie.tmp", "Local\\Temp\\{A1B2}\\x\\y.msi",
        "Local\\Temp\\{A1B2}\\"},
       {"Local\\Temp\\Low\\", "Local\\Microsoft\\Windows\\Explorer\\thumbcache_256.db",
        "Local\\Google\\Chrome\\User Data\\Default\\Cookies"}},
      {"recent-documents.vkt",
       {"Roaming\\Microsoft\\Windows\\Recent\\letter.docx.lnk"},
       {"Roaming\\Microsoft\\Windows\\Recent\\desktop.ini", "Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\app.lnk"}},
      {"app-logs.vkt",
       {"Roaming\\Code\\logs\\20261208T101010\\main.log", "Roaming\\Slack\\logs\\app.log",
        "Roaming\\Zoom\\logs\\zoom_stdout.txt", "Roaming\\Microsoft\\Teams\\logs.txt"},
       {"Roaming\\Code\\User\\settings.json", "Roaming\\Slack\\storage\\root-state.json",
        "Roaming\\Zoom\\data\\Zoom.us.ini", "Roaming\\Microsoft\\Teams\\desktop-config.json"}},
      // Classic Teams in the roaming profile, the current app in its Store package.
      {"teams-cache.vkt",
       {"Roaming\\Microsoft\\Teams\\Cache\\data_0", "Roaming\\Microsoft\\Teams\\Code Cache\\js\\index",
        "Roaming\\Microsoft\\Teams\\GPUCache\\data_1",
        "Roaming\\Microsoft\\Teams\\Service Worker\\CacheStorage\\abc\\x", "Roaming\\Microsoft\\Teams\\tmp\\t.tmp",
        teams + "EBWebView\\WV2Profile_tfw\\Cache\\Cache_Data\\data_0", teams + "EBWebView\\WV2Profile_tfw\\Code Cache\\js\\index",
        teams + "EBWebView\\WV2Profile_tfw\\GPUCache\\data_0", teams + "EBWebView\\GrShaderCache\\data_0"},
       {"Roaming\\Microsoft\\Teams\\Cookies", "Roaming\\Microsoft\\Teams\\desktop-config.json",
        "Roaming\\Microsoft\\Teams\\IndexedDB\\chat.db", "Roaming\\Microsoft\\Teams\\Service Worker\\Database\\x",
        teams + "EBWebView\\WV2Profile_tfw\\IndexedDB\\https_teams.microsoft.com_0.indexeddb.leveldb\\000003.log",
        teams + "EBWebView\\WV2Profile_tfw\\Local Storage\\leveldb\\x.ldb", teams + "EBWebView\\WV2Profile_tfw\\Network\\Cookies",
        teams + "Backgrounds\\Uploads\\mine.png", teams + "app_settings.json"}},
      {"slack-cache.vkt",
       {"Roaming\\Slack\\Cache\\Cache_Data\\data_0", "Roaming\\Slack\\Code Cache\\js\\index",
        "Roaming\\Slack\\GPUCache\\data_0", "Roaming\\Slack\\Service Worker\\CacheStorage\\k\\v"},
       {"Roaming\\Slack\\Cookies", "Roaming\\Slack\\storage\\root-state.json", "Roaming\\Slack\\Local Storage\\leveldb\\x.ldb"}},
      // Stable, PTB and Canary side by side.
      {"discord-cache.vkt",
       {"Roaming\\discord\\Cache\\Cache_Data\\f_0001", "Roaming\\discord\\Code Cache\\js\\index",
        "Roaming\\discord\\GPUCache\\data_0", "Roaming\\discordptb\\Cache\\Cache_Data\\f_0002",
        "Roaming\\discordcanary\\Code Cache\\js\\index", "Roaming\\discordcanary\\GPUCache\\data_0"},
       {"Roaming\\discord\\Cookies", "Roaming\\discord\\settings.json", "Roaming\\discord\\Local Storage\\leveldb\\x.ldb",
        "Roaming\\discordptb\\settings.json", "Roaming\\discordcanary\\Local Storage\\leveldb\\x.ldb"}},
      // The installer build and the Store build.
      {"spotify-cache.vkt",
       {"Local\\Spotify\\Data\\ab\\abcdef.file", "Local\\Spotify\\Browser\\Cache\\Cache_Data\\data_0",
        spotify + "Data\\cd\\cdef01.file", spotify + "Browser\\Cache\\Cache_Data\\data_0"},
       {"Roaming\\Spotify\\prefs", "Local\\Spotify\\Users\\someone-user\\local-files.bnk",
        spotify + "Storage\\offline.bnk", spotify + "Users\\someone-user\\prefs"}},
      {"windows-temp.vkt",
       {"Windows\\Temp\\a.tmp", "Windows\\Temp\\B.TMP", "Windows\\Temp\\keep.log", "Windows\\Temp\\sub\\deeper.tmp",
        "Windows\\Temp\\sub\\"},
       {"Windows\\Temp\\", "Windows\\win.ini"}},
      {"vscode-cache.vkt",
       {"Roaming\\Code\\Cache\\Cache_Data\\data_0", "Roaming\\Code\\CachedData\\1a2b\\chrome\\js\\x.code",
        "Roaming\\Code\\Code Cache\\js\\index", "Roaming\\Code\\GPUCache\\data_0",
        "Roaming\\Code\\CachedExtensionVSIXs\\ms-python.python-1.0.0", "Roaming\\Code\\CachedProfilesData\\p\\x",
        "Roaming\\Code\\blob_storage\\b\\1", "Roaming\\Code\\Crashpad\\reports\\r.dmp",
        "Roaming\\Code\\DawnWebGPUCache\\data_0", "Roaming\\VSCodium\\Cache\\Cache_Data\\data_0",
        "Roaming\\Cursor\\CachedData\\9f\\x.code"},
       {"Roaming\\Code\\User\\settings.json", "Roaming\\Code\\User\\keybindings.json",
        "Roaming\\Code\\Backups\\workspaces.json", "Roaming\\Code\\Cookies", "Roaming\\Code\\User\\globalStorage\\state.vscdb",
        "Roaming\\VSCodium\\User\\settings.json", "Roaming\\Cursor\\User\\workspaceStorage\\w\\state.vscdb"}},
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
    // A path ending in '\' is a folder.
    for (const auto* list : {&c.gone, &c.stay})
      for (const std::string& path : *list)
        ASSERT_TRUE(path.back() == '\\' ? (SHCreateDirectoryExA(nullptr, (profile / path).c_str(), nullptr),
                                           FileExists(profile / path))
                                        : fixtures::MakeFile(profile / path, 100)) << path;
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
