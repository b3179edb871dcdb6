// Private-profile (INI) access. Every call opens the file and releases it at once, as
// the platform's functions do; names of sections and keys match without regard to case.
#pragma once

#include <string>

namespace ini {

// Values and sections are read whole, whatever their length: the buffers start at these
// sizes and grow until the platform's answer fits.
constexpr unsigned kValueBufferSize = 2048;
constexpr unsigned kSectionBufferSize = 32767;

std::string ReadString(const std::string& file, const std::string& section,
                       const std::string& key, const std::string& defaultValue);
// An integer as the platform reads it: leading digits, "0x" hexadecimal, a sign; 0 when
// the text is not a number.
int ReadInt(const std::string& file, const std::string& section, const std::string& key,
            int defaultValue);
bool ReadFlag(const std::string& file, const std::string& section, const std::string& key,
              bool defaultValue);
// The value exactly as the file holds it. The platform's string read drops a pair of
// double quotes around a value, which would lose the quoting of a list of names.
std::string ReadRawString(const std::string& file, const std::string& section,
                          const std::string& key, const std::string& defaultValue);
// The whole section: its lines, each ended by a NUL.
std::string ReadSection(const std::string& file, const std::string& section);
bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                 const std::string& value);
bool WriteFlag(const std::string& file, const std::string& section, const std::string& key,
               bool value);
bool EraseSection(const std::string& file, const std::string& section);
bool SectionExists(const std::string& file, const std::string& section);

}  // namespace ini
