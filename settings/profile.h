#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Profile (INI) file access of module Common. No state and no cache: every
// call goes to the file. An empty file name stands for the default settings
// file beside the program. Nothing here shows a message or throws.
namespace tavlo {

// A section read: key, value, key, value, ... in file order.
using SectionList = std::vector<std::string>;

// Buffer sizes of the platform calls: a value arrives cut to 2047 bytes, a
// section to what fits in 32767.
inline constexpr unsigned kValueBufferSize = 2048;
inline constexpr unsigned kSectionBufferSize = 32767;

std::string GetProfilePath();
std::string JoinPath(std::string_view directory, std::string_view fileName);

std::string ReadProfileString(std::string_view section, std::string_view key,
                              std::string_view defaultText, std::string_view fileName);
// Null when the section is missing or holds no entries.
std::optional<SectionList> ReadProfileSection(std::string_view section, std::string_view fileName);
bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value,
                        std::string_view fileName);
// Replaces the whole section with `entries` (key, value, key, value, ...) in
// one write of the file.
bool WriteProfileSection(std::string_view section, const SectionList& entries,
                         std::string_view fileName);
bool ClearProfileSection(std::string_view section, std::string_view fileName);

// The text up to the first `terminator`, or the whole text without one.
std::string TrimAtNull(std::string_view text, std::string_view terminator);

}  // namespace tavlo
