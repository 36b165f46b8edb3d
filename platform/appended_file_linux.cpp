#include "platform/appended_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "platform/descriptor.h"
#include "platform/links.h"

namespace tavlo::platform {

namespace {

// The file, through its links as the settings file's are followed.
Descriptor Open(const FileRef& file, int flags)
{
    const std::optional<FileRef> target = WriteTarget(file);
    if (!target)
        return Descriptor();
    return Descriptor(::openat(target->folder(), target->name().c_str(), flags | O_CLOEXEC | O_NOFOLLOW));
}

}  // namespace

FileContents ReadFileEnd(const FileRef& file, std::size_t maxBytes)
{
    FileContents contents;
    const Descriptor fd = Open(file, O_RDONLY | O_NONBLOCK);
    struct stat info {};
    if (!fd.valid()) {
        contents.status = errno == ENOENT || errno == ENOTDIR ? FileReadStatus::Missing : FileReadStatus::Failed;
        return contents;
    }
    contents.status = FileReadStatus::Failed;
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return contents;
    const auto size = static_cast<std::size_t>(info.st_size);
    const std::size_t start = size > maxBytes ? size - maxBytes : 0;
    contents.bytes.resize(size - start);
    std::size_t got = 0;
    while (got < contents.bytes.size()) {
        const ssize_t n = ::pread(fd.get(), contents.bytes.data() + got, contents.bytes.size() - got,
                                  static_cast<off_t>(start + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            contents.bytes.clear();
            return contents;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    contents.bytes.resize(got);
    contents.status = FileReadStatus::Ok;
    return contents;
}

bool AppendDurably(const FileRef& file, std::string_view bytes)
{
    Descriptor fd = Open(file, O_WRONLY | O_APPEND | O_NONBLOCK);
    struct stat info {};
    if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    return WriteAll(fd.get(), bytes) && ::fsync(fd.get()) == 0 && ::close(fd.release()) == 0;
}

}  // namespace tavlo::platform
