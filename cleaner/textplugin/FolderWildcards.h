// Folder wildcards of files lines: "%localappdata%\Vendor\User Data\*\Cache\*.* /S" names
// the Cache folder of every profile. An expanded path whose folder components hold '*' or
// '?' becomes one path per existing folder that matches, in name order. No Windows call:
// the listing of a folder is passed in, so the limits and the order are tested natively.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "cleaner/textplugin/TextEntries.h"

namespace wildcards {

// More wildcard folders than this in one line expand to nothing: each one multiplies the
// folders listed.
constexpr std::size_t kMaxWildcardFolders = 2;
// At most this many paths per line; the folders past it (in name order) are dropped.
constexpr std::size_t kMaxPaths = 256;

// The subfolders of a folder (given with its trailing '\') that a wildcard may match:
// real folders by their long names, never a link, "." or "..".
using ListFolders = std::function<std::vector<std::string>(const std::string& folder)>;
// Whether a folder (given with its trailing '\') exists and is a real folder, not a link.
using IsPlainFolder = std::function<bool(const std::string& folder)>;

enum class Outcome {
  kNoWildcard,         // the path names its folder as written
  kExpanded,           // zero or more paths, those that exist
  kTooManyWildcards,   // more than kMaxWildcardFolders: nothing
  kWildcardInRoot,     // a wildcard in the drive or the server and share: nothing
};

struct Expansion {
  Outcome outcome = Outcome::kNoWildcard;
  bool truncated = false;  // more folders matched than the paths allowed; the rest are dropped
};

// Whether a folder component of `path` (text before the first '/', up to its last '\')
// holds '*' or '?'. The mask after the last '\' is not a folder.
bool HasFolderWildcard(const std::string& path);

// The folder that holds the first wildcard component, with its trailing '\'; empty when
// there is none.
std::string FolderAboveWildcard(const std::string& path);

// Expands the folder wildcards of one expanded files path (switches included; they follow
// every path made). Appends at most `budget` paths to `out`. A wildcard component matches
// a subfolder's long name by the engine's mask rules; a name that ends in a dot or a blank
// is skipped, since the system would open a different folder under it. Every folder from
// the first wildcard component on must be a plain folder: matched folders come from
// `list`, the literal components after them are checked with `isPlainFolder`.
Expansion ExpandFolderWildcards(const std::string& path, const ListFolders& list,
                                const IsPlainFolder& isPlainFolder, const textentries::CaseFold& fold,
                                std::size_t budget, std::vector<std::string>& out);

}  // namespace wildcards
