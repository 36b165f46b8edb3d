#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/paths.h"
#include "platform/profile_api.h"

// Profile (INI) file access for the whole program. No state and no cache: every
// call goes to the file. A file with an empty name stands for the default
// settings file beside the program. Nothing here shows a message or throws.
namespace tavlo {

// A section read: key, value, key, value, ... in file order.
using SectionList = std::vector<std::string>;

// Buffer sizes of the platform calls: a value arrives cut to 2047 bytes. A
// section is read with 32767 bytes first and again with more room while it
// fills them, so it always arrives whole.
inline constexpr unsigned kValueBufferSize = 2048;
inline constexpr unsigned kSectionBufferSize = 32767;

// One change of WriteProfileChanges: `value` stored under `key`, the same only
// where the section lacks the key, or every section named `section` removed.
using platform::FileRef;
using platform::ProfileChange;

// The settings file's name, in the program's folder.
inline constexpr std::string_view kProfileFileName = "Tavlo.ini";

std::string GetProfilePath();
using platform::JoinPath;

std::string ReadProfileString(std::string_view section, std::string_view key, std::string_view defaultText,
                              const platform::FileRef& file);
// Null when the section is missing or holds no entries.
std::optional<SectionList> ReadProfileSection(std::string_view section, const platform::FileRef& file);
bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value,
                        const platform::FileRef& file);
// Removes every section of the name, as the clearing of the results needs.
bool ClearProfileSection(std::string_view section, const platform::FileRef& file);
// Makes the changes in order, in one replace of the file where the platform
// layer can (a crash leaves all of them or none).
bool WriteProfileChanges(const std::vector<ProfileChange>& changes, const platform::FileRef& file);
// Removes what writes killed in the middle left beside the file.
void RemoveProfileLeftovers(const platform::FileRef& file);
// True when the file is there but cannot be read.
bool IsProfileUnreadable(const platform::FileRef& file);

// The text up to the first `terminator`, or the whole text without one.
std::string TrimAtNull(std::string_view text, std::string_view terminator);

}  // namespace tavlo
