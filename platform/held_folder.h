#pragma once

#include <string>
#include <string_view>

#include "platform/file_ref.h"

namespace tavlo::platform {

// The folder the program started in, held for as long as the program runs.
// Files reached by File() lie in that very folder whatever becomes of the
// program's path afterwards: the program file moved into another folder, or
// the folder itself renamed or moved. So the settings file stays the one the
// instance lock was taken for, and a moved program never writes into another
// instance's file.
class HeldFolder {
public:
    // `path`: the folder as the system named it at start-up.
    explicit HeldFolder(std::string path);
    ~HeldFolder();
    HeldFolder(const HeldFolder&) = delete;
    HeldFolder& operator=(const HeldFolder&) = delete;

    // `name` in the folder, as the file calls take it.
    FileRef File(std::string_view name) const;
    // `name` in the folder as the system spells the folder's path now, for
    // messages; the path it had last, once it has been deleted. Paths are
    // UTF-8 on Windows, the system's bytes elsewhere.
    std::string DisplayPathTo(std::string_view name) const;

private:
    std::string m_path;
#ifndef _WIN32
    int m_fd = -1;
#endif
};

}  // namespace tavlo::platform
