// The bytes of the store of deleted entries ("stelmar.dat.deleted", beside "stelmar.dat"):
// every entry the user deleted, kept whole so that it can be put back where it was. Needs no
// Windows call.
//
// Layout (little-endian): the four bytes "SRB1", a 32-bit count, then per entry the time of
// the delete (64-bit, in 100-nanosecond steps since 1601 as Windows counts), the startup
// type (32-bit), the state it had (32-bit), the registry type of its value (32-bit; 0 for a
// file), then three texts each as a 32-bit length and its bytes: the name (value or file
// name), where it was (the key or the folder, for the user to read) and the value's raw
// bytes or the whole file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace products::stelmar::database {

struct RecycledEntry {
  std::uint64_t time = 0;  // unique within the store: it names the entry
  int startupType = 0;
  int state = 0;  // ENABLED: it was live; DISABLED: it was kept aside
  std::uint32_t registryType = 0;
  std::string name;
  std::string location;
  std::string bytes;
};

// Entries kept: at most this many, none older than this many days.
constexpr std::size_t MAX_RECYCLED = 100;
constexpr std::uint64_t RECYCLED_DAYS = 90;

std::string serialiseRecycled(const std::vector<RecycledEntry>& entries);
// Nothing when the bytes are not such a file or end before its last entry does.
std::optional<std::vector<RecycledEntry>> parseRecycled(const std::string& bytes);
// Newest first, the newest MAX_RECYCLED of those deleted in the last RECYCLED_DAYS before
// `now`.
std::vector<RecycledEntry> pruneRecycled(std::vector<RecycledEntry> entries, std::uint64_t now);

}  // namespace products::stelmar::database
