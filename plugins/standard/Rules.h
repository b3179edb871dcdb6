// The standard plug-in's decisions that need no Windows call: where its settings file is,
// whether the temporary folder may be cleaned, which files and cache entries belong to
// which item, and the protected cookie list block with its rule. Built natively too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

// Paths are held in buffers of one path length, the terminating NUL included.
constexpr std::size_t kPathSize = 260;

// --- Settings file -------------------------------------------------------------------

// The folder of the host: its program file's full path up to and including the last
// backslash. Empty when the path has none. The command line is never used: its arguments
// ("/log:C:\\app\\run.log") may hold backslashes of their own.
std::string SettingsFolder(const std::string& programPath);

// The leading decimal number of a typed text (an optional sign, then digits), 0 when the
// text does not begin with one; values beyond the int range are held at its ends.
int LeadingNumber(const std::string& text);

// --- Temporary folder ----------------------------------------------------------------

extern const char* const kTempDescriptionText;
constexpr std::size_t kDescriptionLimit = 257;

// The description of "System Temporary Files": the fixed text, the folder and "'", cut
// to the 257 characters that the record holds.
std::string TempItemDescription(const std::string& tempFolder);

// A full path as the system resolves it: '/' read as '\\', the "\\?\" and "\\.\" forms of
// a drive or share path taken off, "." and ".." and empty components resolved, trailing
// blanks and dots of every component and trailing separators removed: "C:\\WINDOWS\\." is
// "C:\\WINDOWS", "C:\\" is "C:", "\\\\SRV\\SHARE\\" is "\\\\SRV\\SHARE". Empty when the path lies
// neither on a drive nor on a share. `rootLength`, when given, receives the length of
// the drive ("C:") or share ("\\\\SRV\\SHARE") part.
std::string CanonicalFolder(const std::string& fullPath, std::size_t* rootLength = nullptr);

// The folders that a temporary folder must never be, each as the system resolves it
// (full paths, any case).
struct SystemFolders {
  std::string windows;                // never it, nor anything in it
  std::string system;                 // never anything in it
  std::string users;                  // the folder of the profiles: never it, nor a profile root in it
  std::vector<std::string> profiles;  // every user's profile root (also those outside `users`)
  std::vector<std::string> kept;      // ProgramData, both Program Files folders: never one of them
};

// Whether a temporary folder, given as the system resolves it (its final path, with the
// links on the way followed), may be emptied. Refused: a folder that is not on a drive or
// a share, a drive or share root, the Windows folder and everything in it, a folder whose
// text holds the system folder's, the folder of the profiles, any profile root and its
// "AppData", "AppData\\Local", "AppData\\Roaming" and "AppData\\LocalLow", the kept folders,
// and every folder that holds any of these.
bool TempRootAccepted(const std::string& finalPath, const SystemFolders& folders);

// A found entry counts as a file to clean when it is neither a directory, nor a system
// file, nor offline.
constexpr std::uint32_t kNotMatchingAttributes = 0x1014;
inline bool IsMatchingFile(std::uint32_t attributes) {
  return (attributes & kNotMatchingAttributes) == 0;
}

// Writes `name` at `at` of a path buffer of kPathSize characters, followed by `tail`.
// Returns false, leaving the buffer as it was, when the result would not fit.
bool WriteAt(char* buffer, std::size_t at, const char* name, const char* tail);

// --- URL cache -----------------------------------------------------------------------

enum class CacheKind { Ordinary, Cookie, History };
constexpr std::uint32_t kCookieEntry = 0x100000;
constexpr std::uint32_t kHistoryEntry = 0x200000;
CacheKind KindOf(std::uint32_t entryType);

struct Counters {
  long long size = 0;
  long long count = 0;
};
struct CacheCounts {
  Counters ordinary, cookies, history;
};
// Adds one cache entry to the counts. History entries add their size only at the older
// interface level: the newer level reports sizes that the history never frees.
void CountCacheEntry(CacheCounts& counts, std::uint32_t entryType, long long size,
                     bool newerLevel);

// --- Protected cookies ---------------------------------------------------------------

// The protected list: names one after another, each ended by a NUL, the whole ended by an
// empty name. The block grows with the list, so a list of any length is held whole.
class ProtectedListBuilder {
 public:
  enum class Result { Appended, End };
  // Empties the block (one empty name) and fills it name by name.
  explicit ProtectedListBuilder(std::vector<char>& block) : block_(block) { block_.assign(1, '\0'); }
  // A stored value as it is read: "-1" (any case) ends the list.
  Result AddStored(const std::string& value);
  // A name as the page holds it. An empty name would end the list early; it names no
  // cookie anyway, so it is left out.
  void Add(const std::string& name);

 private:
  std::vector<char>& block_;
};

std::vector<std::string> ProtectedNames(const char* block);
// Byte for byte, with regard to case.
bool IsProtected(const char* block, const char* name);

// The names the cookie page writes: those it shows, then every name of the list as it was
// read that the page does not show although the user never moved it out (a list box that
// refused a name must not shorten the stored list behind the user's back).
std::vector<std::string> NamesToWrite(const std::vector<std::string>& shown,
                                      const std::vector<std::string>& read,
                                      const std::vector<std::string>& removedByUser);

constexpr long long kFileTimeDay = 864000000000LL;
// The protection rule: a cookie may go when it is neither on the list (a null block holds
// nothing) nor used within the last `daysToKeep` whole days. Times are file times (100 ns).
// A last access after the present counts as 0 days, so such a cookie is recent.
bool MayDelete(const char* block, const char* name, int daysToKeep,
               unsigned long long nowFileTime, unsigned long long lastAccessFileTime);

}  // namespace orvane
