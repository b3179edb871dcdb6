#include "cleaner/textplugin/FolderWildcards.h"

#include <algorithm>

namespace wildcards {

namespace {

bool IsWildcard(const std::string& component) { return component.find_first_of("*?") != std::string::npos; }

// A path cut into its root (drive "X:" or "\\server\share"), its folder components and
// its mask; the switch text kept apart.
struct SplitPath {
  std::string root;  // with its trailing '\'
  std::vector<std::string> folders;
  std::string mask;
  std::string switches;
  bool ok = false;
};

SplitPath Split(const std::string& path) {
  SplitPath split;
  const std::size_t slash = path.find('/');
  const std::string text = path.substr(0, slash);
  if (slash != std::string::npos) split.switches = path.substr(slash);
  const std::size_t last = text.rfind('\\');
  if (last == std::string::npos) return split;
  split.mask = text.substr(last + 1);
  // The root: "\\server\share\" or the first component ("X:\").
  std::size_t at = 0;
  if (text.compare(0, 2, "\\\\") == 0) {
    const std::size_t server = text.find('\\', 2);
    const std::size_t share = server == std::string::npos ? server : text.find('\\', server + 1);
    if (share == std::string::npos || share > last) return split;
    at = share + 1;
  } else {
    at = text.find('\\') + 1;
  }
  split.root = text.substr(0, at);
  while (at <= last) {
    const std::size_t end = text.find('\\', at);
    split.folders.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  split.ok = true;
  return split;
}

// The system opens "name." and "name " as "name": a folder listed under such a name is
// not the folder that the path would reach.
bool IsRewrittenName(const std::string& name) {
  return name.empty() || name.back() == '.' || name.back() == ' ';
}

struct Expander {
  const SplitPath& split;
  const ListFolders& list;
  const IsPlainFolder& isPlainFolder;
  const textentries::CaseFold& fold;
  std::size_t budget;
  std::vector<std::string>& out;
  bool truncated = false;

  bool Before(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [this](char x, char y) {
      return fold.upper[static_cast<unsigned char>(x)] < fold.upper[static_cast<unsigned char>(y)];
    });
  }

  // `prefix` is a folder reached so far (ending in '\'); `i` the next folder component.
  void Walk(std::string prefix, std::size_t i, bool belowWildcard) {
    for (; i < split.folders.size() && !IsWildcard(split.folders[i]); ++i) {
      prefix += split.folders[i];
      prefix += '\\';
      if (!textentries::FitsPath(prefix.size())) return;
      if (belowWildcard && !isPlainFolder(prefix)) return;
    }
    if (i == split.folders.size()) {
      if (out.size() >= budget) {
        truncated = true;
        return;
      }
      out.push_back(prefix + split.mask + split.switches);
      return;
    }
    std::vector<std::string> names = list(prefix);
    names.erase(std::remove_if(names.begin(), names.end(),
                               [&](const std::string& name) {
                                 return IsRewrittenName(name) ||
                                        !textentries::MatchesMask(name.c_str(), split.folders[i].c_str(), fold);
                               }),
                names.end());
    std::sort(names.begin(), names.end(), [this](const std::string& a, const std::string& b) { return Before(a, b); });
    std::size_t entered = 0;
    for (const std::string& name : names) {
      // Each wildcard level enters at most as many folders as the line may yield paths:
      // a wide match costs listings, not only paths.
      if (out.size() >= budget || ++entered > kMaxPaths) {
        truncated = true;
        return;
      }
      Walk(prefix + name + '\\', i + 1, true);
    }
  }
};

}  // namespace

bool HasFolderWildcard(const std::string& path) {
  const std::string text = path.substr(0, path.find('/'));
  const std::size_t last = text.rfind('\\');
  return last != std::string::npos && text.find_first_of("*?") < last;
}

std::string FolderAboveWildcard(const std::string& path) {
  if (!HasFolderWildcard(path)) return std::string();
  const std::size_t wildcard = path.find_first_of("*?");
  const std::size_t above = path.rfind('\\', wildcard);
  return above == std::string::npos ? std::string() : path.substr(0, above + 1);
}

Expansion ExpandFolderWildcards(const std::string& path, const ListFolders& list,
                                const IsPlainFolder& isPlainFolder, const textentries::CaseFold& fold,
                                std::size_t budget, std::vector<std::string>& out) {
  Expansion expansion;
  if (!HasFolderWildcard(path)) return expansion;
  const SplitPath split = Split(path);
  if (!split.ok || IsWildcard(split.root)) {
    expansion.outcome = Outcome::kWildcardInRoot;
    return expansion;
  }
  const std::size_t count = static_cast<std::size_t>(
      std::count_if(split.folders.begin(), split.folders.end(), IsWildcard));
  if (count > kMaxWildcardFolders) {
    expansion.outcome = Outcome::kTooManyWildcards;
    return expansion;
  }
  expansion.outcome = Outcome::kExpanded;
  Expander expander{split, list, isPlainFolder, fold, std::min(budget, kMaxPaths) + out.size(), out};
  expander.Walk(split.root, 0, false);
  expansion.truncated = expander.truncated;
  return expansion;
}

}  // namespace wildcards
