// The shipped text plug-ins, each cleaning a tree made like its application's own folders
// in a quiet run of the real host: what must go goes, and cookies, passwords, bookmarks,
// history, settings, site data and extensions stay. None touches the user's temporary
// folder, which the standard plug-in counts and cleans: one folder is counted by one item.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "cleaner/tests/textplugin/TextPluginFixtures.h"
#include "cleaner/textplugin/Textpluginfo.h"
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

// Paths below one folder, and two lists as one.
std::vector<std::string> Under(const std::string& folder, std::initializer_list<const char*> tails) {
  std::vector<std::string> paths;
  for (const char* tail : tails) paths.push_back(folder + tail);
  return paths;
}
std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A Chromium browser's "User Data" folder with three profiles and the guest profile: the
// cache folders of each profile and those beside them go, the profiles' data stays.
Case Chromium(const char* plugin, const std::string& userData) {
  return {plugin,
          Under(userData, {"\\Default\\Cache\\Cache_Data\\data_0", "\\Default\\Code Cache\\js\\index",
                           "\\Default\\GPUCache\\data_1", "\\Default\\DawnGraphiteCache\\data_0",
                           "\\Profile 1\\Cache\\Cache_Data\\f_00001a", "\\Profile 2\\Code Cache\\wasm\\index",
                           "\\Guest Profile\\Cache\\Cache_Data\\data_0", "\\ShaderCache\\data_0", "\\GrShaderCache\\data_1",
                           "\\GraphiteDawnCache\\data_0", "\\component_crx_cache\\a_1", "\\extensions_crx_cache\\e_1"}),
          Under(userData, {"\\Default\\Network\\Cookies", "\\Default\\Login Data", "\\Default\\History",
                           "\\Default\\Bookmarks", "\\Default\\Preferences", "\\Default\\Sessions\\Session_1",
                           "\\Default\\Local Storage\\leveldb\\3.log", "\\Default\\IndexedDB\\x.leveldb\\LOG",
                           "\\Default\\Service Worker\\CacheStorage\\k\\index", "\\Default\\Extensions\\ab\\m.json",
                           "\\Profile 1\\Network\\Cookies", "\\Guest Profile\\Preferences", "\\Local State"})};
}

// Opera and Opera GX: today's "Default" profile and the flat layout of older versions.
Case Opera(const char* plugin, const std::string& folder) {
  const std::string local = "Local\\Opera Software\\" + folder, roaming = "Roaming\\Opera Software\\" + folder;
  return {plugin,
          Under(local, {"\\Default\\Cache\\Cache_Data\\d", "\\Cache\\Cache_Data\\d"}) +
              Under(roaming, {"\\Default\\Code Cache\\js\\i", "\\Default\\GPUCache\\d", "\\Code Cache\\js\\i",
                              "\\GrShaderCache\\d", "\\ShaderCache\\d"}),
          Under(roaming, {"\\Default\\Network\\Cookies", "\\Default\\Login Data", "\\Default\\Bookmarks",
                          "\\Default\\History", "\\Default\\Preferences", "\\Default\\Local Storage\\leveldb\\x.ldb",
                          "\\Local State"})};
}

std::vector<Case> Cases() {
  const std::string teams = "Local\\Packages\\MSTeams_8wekyb3d8bbwe\\LocalCache\\Microsoft\\MSTeams\\";
  const std::string spotify = "Local\\Packages\\SpotifyAB.SpotifyMusic_zpdnekdrzrea0\\LocalCache\\Spotify\\";
  return {
      Chromium("chrome-cache.vkt", "Local\\Google\\Chrome\\User Data"),
      Chromium("edge-cache.vkt", "Local\\Microsoft\\Edge\\User Data"),
      Chromium("brave-cache.vkt", "Local\\BraveSoftware\\Brave-Browser\\User Data"),
      Chromium("vivaldi-cache.vkt", "Local\\Vivaldi\\User Data"),
      Opera("opera-cache.vkt", "Opera Stable"),
      Opera("opera-gx-cache.vkt", "Opera GX Stable"),
      // Two profiles, each split between the local and the roaming profile.
      {"firefox-cache.vkt",
       Under("Local\\Mozilla\\Firefox\\Profiles\\",
             {"a1.default-release\\cache2\\entries\\0A1B", "a1.default-release\\startupCache\\scriptCache.bin",
              "a1.default-release\\jumpListCache\\a.ico", "a1.default-release\\shader-cache\\s",
              "x9.work\\cache2\\entries\\FF00"}),
       Under("Local\\Mozilla\\Firefox\\Profiles\\",
             {"a1.default-release\\thumbnails\\t.png", "a1.default-release\\safebrowsing\\google4\\x.vlpset", "x9.work\\"}) +
           Under("Roaming\\Mozilla\\Firefox\\",
                 {"profiles.ini", "Profiles\\a1.default-release\\places.sqlite", "Profiles\\a1.default-release\\cookies.sqlite",
                  "Profiles\\a1.default-release\\logins.json", "Profiles\\a1.default-release\\key4.db",
                  "Profiles\\a1.default-release\\prefs.js", "Profiles\\a1.default-release\\sessionstore.jsonlz4",
                  "Profiles\\a1.default-release\\storage\\default\\https+++x\\idb\\1.sqlite",
                  "Profiles\\x9.work\\places.sqlite", "Profiles\\x9.work\\extensions\\addon@x.xpi"})},
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
       Under("Roaming\\Microsoft\\Teams\\", {"Cache\\data_0", "Code Cache\\js\\index", "GPUCache\\data_1",
                                             "Service Worker\\CacheStorage\\abc\\x", "tmp\\t.tmp"}) +
           Under(teams + "EBWebView\\", {"WV2Profile_tfw\\Cache\\Cache_Data\\data_0", "WV2Profile_tfw\\Code Cache\\js\\i",
                                         "WV2Profile_tfw\\GPUCache\\data_0", "GrShaderCache\\data_0"}),
       Under("Roaming\\Microsoft\\Teams\\", {"Cookies", "desktop-config.json", "IndexedDB\\chat.db", "Service Worker\\Database\\x"}) +
           Under(teams, {"EBWebView\\WV2Profile_tfw\\IndexedDB\\https_teams.microsoft.com_0.indexeddb.leveldb\\3.log",
                         "EBWebView\\WV2Profile_tfw\\Local Storage\\leveldb\\x.ldb", "EBWebView\\WV2Profile_tfw\\Network\\Cookies",
                         "Backgrounds\\Uploads\\mine.png", "app_settings.json"})},
      {"slack-cache.vkt",
       {"Roaming\\Slack\\Cache\\Cache_Data\\data_0", "Roaming\\Slack\\Code Cache\\js\\index",
        "Roaming\\Slack\\GPUCache\\data_0", "Roaming\\Slack\\Service Worker\\CacheStorage\\k\\v"},
       {"Roaming\\Slack\\Cookies", "Roaming\\Slack\\storage\\root-state.json", "Roaming\\Slack\\Local Storage\\leveldb\\x.ldb"}},
      // Stable, PTB and Canary side by side.
      {"discord-cache.vkt",
       Under("Roaming\\discord", {"\\Cache\\Cache_Data\\f_0001", "\\Code Cache\\js\\index", "\\GPUCache\\data_0",
                                  "ptb\\Cache\\Cache_Data\\f_0002", "canary\\Code Cache\\js\\index", "canary\\GPUCache\\d"}),
       Under("Roaming\\discord", {"\\Cookies", "\\settings.json", "\\Local Storage\\leveldb\\x.ldb", "ptb\\settings.json",
                                  "canary\\Local Storage\\leveldb\\x.ldb"})},
      // The installer build and the Store build.
      {"spotify-cache.vkt",
       Under("Local\\Spotify\\", {"Data\\ab\\abcdef.file", "Browser\\Cache\\Cache_Data\\data_0"}) +
           Under(spotify, {"Data\\cd\\cdef01.file", "Browser\\Cache\\Cache_Data\\data_0"}),
       {"Roaming\\Spotify\\prefs", "Local\\Spotify\\Users\\someone-user\\local-files.bnk", spotify + "Storage\\offline.bnk",
        spotify + "Users\\someone-user\\prefs"}},
      {"windows-temp.vkt", Under("Windows\\Temp\\", {"a.tmp", "B.TMP", "keep.log", "sub\\deeper.tmp", "sub\\"}),
       {"Windows\\Temp\\", "Windows\\win.ini"}},
      {"vscode-cache.vkt",
       Under("Roaming\\", {"Code\\Cache\\Cache_Data\\data_0", "Code\\CachedData\\1a2b\\chrome\\js\\x.code",
                           "Code\\Code Cache\\js\\index", "Code\\GPUCache\\data_0", "Code\\CachedExtensionVSIXs\\ms-python-1.0",
                           "Code\\CachedProfilesData\\p\\x", "Code\\blob_storage\\b\\1", "Code\\Crashpad\\reports\\r.dmp",
                           "Code\\DawnWebGPUCache\\data_0", "VSCodium\\Cache\\Cache_Data\\data_0", "Cursor\\CachedData\\9f\\x.code"}),
       Under("Roaming\\", {"Code\\User\\settings.json", "Code\\User\\keybindings.json", "Code\\Backups\\workspaces.json",
                           "Code\\Cookies", "Code\\User\\globalStorage\\state.vscdb", "VSCodium\\User\\settings.json",
                           "Cursor\\User\\workspaceStorage\\w\\state.vscdb"})},
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
    std::vector<std::string> kept = c.stay;
    kept.insert(kept.end(), {"Local\\Temp\\setup.log", "Local\\Temp\\installer\\big.cab"});
    const std::vector<std::string>& stay = kept;
    // A path ending in '\' is a folder.
    for (const auto* list : {&c.gone, &stay})
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
    for (const std::string& path : stay) EXPECT_TRUE(FileExists(profile / path)) << "deleted: " << path;
  }
  // Every shipped plug-in has its case here.
  std::sort(covered.begin(), covered.end());
  EXPECT_EQ(SortedFileNames(library, "*.vkt"), covered);
}

}  // namespace
