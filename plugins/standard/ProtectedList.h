// The protected cookie list in memory (one block of 32768 bytes) and in the settings file
// (section "PROTECTED COOKIES", keys 1, 2, 3 ... without gaps).
#pragma once

#include <cstdlib>
#include <memory>
#include <string>

namespace orvane {

extern const char* const kProtectedSection;

struct BlockFree {
  void operator()(char* block) const { std::free(block); }
};
using ProtectedBlock = std::unique_ptr<char, BlockFree>;

// A zero-filled block; null when memory is short.
ProtectedBlock NewProtectedBlock();

// How the list reports trouble: a message box with a caption. Tests put their own here.
using MessageFn = void (*)(const char* text, const char* caption);
void ShowMessageBox(const char* text, const char* caption);

// Reads keys 1, 2, 3 ... up to the first missing key or "-1". A list too large for the
// block keeps the names read so far, after a message. Null when memory is short.
ProtectedBlock LoadProtectedList(const std::string& file, MessageFn message = ShowMessageBox);
// Rewrites the section from the block, numbering from 1.
void SaveProtectedList(const std::string& file, const char* block,
                       MessageFn message = ShowMessageBox);

}  // namespace orvane
