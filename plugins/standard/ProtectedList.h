// The protected cookie list in memory (a block of names that grows with the list) and in
// the settings file (section "PROTECTED COOKIES", keys 1, 2, 3 ... without gaps).
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace orvane {

extern const char* const kProtectedSection;

// Null when there is no list (memory was short).
using ProtectedBlock = std::unique_ptr<std::vector<char>>;

// An empty list; null when memory is short.
ProtectedBlock NewProtectedBlock();
// The block's names for the rules of Rules.h; null when there is no list.
inline const char* BlockNames(const ProtectedBlock& block) { return block ? block->data() : nullptr; }

// How the list reports trouble: a text with a caption. The plug-in shows a message box, or
// in a quiet run writes the run's report (HostRun.h); tests put their own here.
using MessageFn = void (*)(const char* text, const char* caption);
void ShowMessageBox(const char* text, const char* caption);

// Reads keys 1, 2, 3 ... up to the first missing key or "-1", each value whole whatever
// its length. When memory runs out the names read so far are kept, after a message. Null
// when not even an empty list can be had.
ProtectedBlock LoadProtectedList(const std::string& file, MessageFn message = ShowMessageBox);
// Rewrites the section from the block, numbering from 1.
void SaveProtectedList(const std::string& file, const char* block,
                       MessageFn message = ShowMessageBox);

}  // namespace orvane
