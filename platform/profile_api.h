#pragma once

#include <cstdint>

// The profile-file (INI) functions the settings layer stands on. On Windows
// they forward to kernel32's GetPrivateProfileStringA,
// GetPrivateProfileSectionA, WritePrivateProfileStringA and
// WritePrivateProfileSectionA; elsewhere our own reader and writer takes their
// place, byte for byte alike (profile_portable.h says which code page it
// reads names in). Texts are NUL-terminated ANSI bytes.
namespace tavlo::platform {

// Copies the value of `key` in `section` (or `defaultValue` when the file,
// section or key is missing) into `buffer`, NUL-terminated and cut to fit
// `size`. Returns the count of bytes copied, without the NUL.
std::uint32_t ProfileGetString(const char* section, const char* key, const char* defaultValue,
                               char* buffer, std::uint32_t size, const char* path);

// Copies every entry line of `section`, in file order, as NUL-terminated
// "key=value" texts followed by one more NUL. Returns the count of bytes
// copied, without the final NUL.
std::uint32_t ProfileGetSection(const char* section, char* buffer, std::uint32_t size,
                                const char* path);

// Stores `value` under `key` in `section`, creating file, section and key as
// needed. The file is replaced atomically: a crash leaves the old or the new.
bool ProfilePutString(const char* section, const char* key, const char* value, const char* path);

// Replaces every entry of `section` with `entries`: "key=value" texts, each
// NUL-terminated, with one more NUL at the end. Creates the section (at the end
// of the file) when it is missing.
bool ProfilePutSection(const char* section, const char* entries, const char* path);

// Removes `section`: its header and its entries. Other lines stay as they are.
bool ProfileDeleteSection(const char* section, const char* path);

}  // namespace tavlo::platform
