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

// The folder of the host, taken from the process command line: from its first character
// (one leading double quote skipped) up to and including the last backslash anywhere in
// the line. Empty when the line has no backslash.
std::string SettingsFolder(const std::string& commandLine);

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

// Whether the temporary folder may be cleaned, given the three full paths already
// upper-cased. Each is made canonical first; the temporary folder must then not be a
// drive or share root, must not be or contain the Windows folder, must not lie inside
// the system folder, must have at least 4 characters (a drive root has 3), must not be
// the Windows folder, and must not contain the system folder's path anywhere.
bool TempFolderAccepted(const std::string& tempUpper, const std::string& windowsUpper,
                        const std::string& systemUpper);

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
// empty name, in a block of this many bytes.
constexpr std::size_t kProtectedBlockSize = 32768;

// Fills a zeroed block name by name. The load from the settings file and the rebuild from
// the page both go through it, so neither can write past the block.
class ProtectedListBuilder {
 public:
  enum class Result { Appended, End, Full };
  explicit ProtectedListBuilder(char* block) : block_(block) {}
  // A stored value as it is read: "-1" (any case) ends the list. Every value read counts
  // its length plus one against the block, the end mark included; when the total passes
  // 32767 the list is full and the value is left out.
  Result AddStored(const std::string& value);
  // A name as the page holds it; Full when it does not fit beside the final empty name.
  Result Add(const std::string& name);

 private:
  char* block_;
  std::size_t total_ = 0;  // bytes counted so far
  std::size_t used_ = 0;   // bytes written so far
};

std::vector<std::string> ProtectedNames(const char* block);
// Byte for byte, with regard to case.
bool IsProtected(const char* block, const char* name);

constexpr long long kFileTimeDay = 864000000000LL;
// The protection rule: a cookie may go when it is neither on the list (a null block holds
// nothing) nor used within the last `daysToKeep` whole days. Times are file times (100 ns).
// A last access after the present counts as 0 days, so such a cookie is recent.
bool MayDelete(const char* block, const char* name, int daysToKeep,
               unsigned long long nowFileTime, unsigned long long lastAccessFileTime);

}  // namespace orvane
