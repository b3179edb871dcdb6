// The bytes of the side file of "stelmar.dat" ("stelmar.dat.values"): the registry type and
// the raw bytes of each disabled registry entry's value, so that enabling writes the value
// back exactly as it was (a REG_EXPAND_SZ stays one). "stelmar.dat" itself keeps its own
// format, which older builds read; this file only adds to it. Needs no Windows call.
//
// Layout (little-endian): the four bytes "SKV1", a 32-bit count, then per value the
// startup type (32-bit), the registry type (32-bit), the name's length (32-bit) and its
// bytes, the data's length (32-bit) and its bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace products::stelmar::database {

struct KeptValue {
  int startupType = 0;
  std::string name;
  std::uint32_t registryType = 0;
  std::string bytes;
};

std::string serialiseKeptValues(const std::vector<KeptValue>& values);
// Nothing when the bytes are not such a file or end before its last value does.
std::optional<std::vector<KeptValue>> parseKeptValues(const std::string& bytes);

}  // namespace products::stelmar::database
