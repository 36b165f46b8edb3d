#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "platform/paths.h"

namespace tavlo::platform {

// A file as the file calls reach it: by a plain path, or (on POSIX) by a name
// relative to a folder held open, for the *at() calls. A folder held open is
// reached wherever it has been moved, and without /proc.
class FileRef {
public:
    // The value of AT_FDCWD: a relative name starts from the working folder.
    static constexpr int kWorkingFolder = -100;

    FileRef() = default;
    // A plain path. Implicit, so that a path is a file reference wherever one
    // is taken.
    FileRef(std::string path) : m_name(std::move(path)) {}              // NOLINT(google-explicit-constructor)
    FileRef(std::string_view path) : m_name(path) {}                    // NOLINT(google-explicit-constructor)
    FileRef(const char* path) : m_name(path == nullptr ? "" : path) {}  // NOLINT(google-explicit-constructor)

    // `name` relative to the folder open as `folder`; an absolute name ignores it.
    static FileRef In(int folder, std::string name)
    {
        FileRef file(std::move(name));
        file.m_folder = folder;
        return file;
    }

    // The file `name` in the same folder as this one.
    FileRef Beside(std::string_view name) const
    {
        const std::string folder = FolderOf(m_name);
        return In(m_folder, folder == "." ? std::string(name) : JoinPath(folder, name));
    }

    int folder() const { return m_folder; }
    const std::string& name() const { return m_name; }
    bool empty() const { return m_name.empty(); }

    bool operator==(const FileRef&) const = default;

private:
    int m_folder = kWorkingFolder;
    std::string m_name;
};

}  // namespace tavlo::platform
