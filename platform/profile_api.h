#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_ref.h"

// The profile-file (INI) functions the settings layer stands on. On Windows
// they forward to kernel32's GetPrivateProfileStringW,
// GetPrivateProfileSectionW, WritePrivateProfileStringW and
// WritePrivateProfileSectionW, which keep the file's text as the A forms do;
// elsewhere our own reader and writer takes their place, byte for byte alike
// (profile_portable.h says which code page it reads names in). Texts are
// NUL-terminated ANSI bytes, converted at the call; paths are UTF-8, so that
// a folder named outside the code page is still reached. A file may also be
// named in a folder held open (FileRef).
namespace tavlo::platform {

// Copies the value of `key` in `section` (or `defaultValue` when the file,
// section or key is missing) into `buffer`, NUL-terminated and cut to fit
// `size`. Returns the count of bytes copied, without the NUL. Section and key
// lose their surrounding spaces; the value is trimmed and loses one pair of
// matching quotes; the default loses only its trailing spaces. With `size` 0
// the buffer is not touched.
std::uint32_t ProfileGetString(const char* section, const char* key, const char* defaultValue, char* buffer,
                               std::uint32_t size, const FileRef& file);

// Copies every entry line of `section`, in file order, as NUL-terminated
// "key=value" texts followed by one more NUL; an empty list is two NULs.
// Returns the count of bytes copied, without the final NUL. A list that does
// not fit (or only just fits) is cut to `size` - 2 bytes and closed with two
// NULs, and `size` - 2 is returned.
std::uint32_t ProfileGetSection(const char* section, char* buffer, std::uint32_t size, const FileRef& file);

// Stores `value` under `key` in `section`, creating file, section and key as
// needed; the folder must exist. The file is edited in place: only the key's
// line changes, a new key goes after the section's last entry, a new section
// at the end of the file. The file is replaced atomically: a crash leaves the
// old or the new; a write that would change nothing does not touch it.
bool ProfilePutString(const char* section, const char* key, const char* value, const FileRef& file);

// Replaces every entry of `section` with `entries`: "key=value" texts, each
// NUL-terminated, with one more NUL at the end. Creates the section (at the end
// of the file) when it is missing. With no entries (null) removes the first
// section of the name, as kernel32 does. The program makes no such call: it is
// here for the profile functions' whole set, which the recorded vectors and
// the fuzzers check.
bool ProfilePutSection(const char* section, const char* entries, const FileRef& file);

// The most sections of one name that a clearing removes: a file that holds
// one more is refused rather than worked through, since each removal costs a
// pass over the whole file.
inline constexpr int kMaxSectionsOfOneName = 1000;

// Clears `section`: removes every section of that name (a hand-edited file
// may hold it twice), headers and entries. Other lines stay as they are, the
// comments among them too. A missing section or file is no failure and
// creates nothing.
bool ProfileClearSection(const char* section, const FileRef& file);

// One change of a batched write, as the settings layer makes it: texts in
// the same ANSI bytes as the other calls take.
struct ProfileChange {
    enum class Kind {
        Store,           // `value` under `key`, as ProfilePutString stores it
        StoreIfMissing,  // the same, unless the section already holds `key`
        ClearSection,    // every section named `section` removed, as ProfileClearSection does
    };
    Kind kind = Kind::Store;
    std::string section;
    std::string key;
    std::string value;
};

// Makes the changes in order. The portable layer makes them in one replace
// of the file, so a crash leaves the file with all of them or none; Windows
// makes them one by one.
bool ProfilePutChanges(const std::vector<ProfileChange>& changes, const FileRef& file);

// Removes what writes of the file left beside it when a process was killed in
// the middle of one: the portable layer's temporary files (Windows leaves
// none). Only while no other process may be writing the file.
void ProfileRemoveLeftovers(const FileRef& file);

// True when the file is there but cannot be read: the reads above then answer
// as for a missing file.
bool ProfileFileUnreadable(const FileRef& file);

}  // namespace tavlo::platform
