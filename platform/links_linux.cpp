#include "platform/links.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/paths.h"

namespace tavlo::platform {

static_assert(FileRef::kWorkingFolder == AT_FDCWD);

namespace {

// As many links as the kernel follows in one path.
constexpr int kMaxLinks = 40;

// The kernel's protected_symlinks rule, kept whether or not the system turns
// it on: in a sticky folder that every account may write, only links of this
// user or of the folder's owner are followed.
bool MayFollow(const FileRef& link, const struct stat& linkInfo)
{
    struct stat folder {};
    if (::fstatat(link.folder(), FolderOf(link.name()).c_str(), &folder, 0) != 0)
        return false;
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !shared || linkInfo.st_uid == ::geteuid() || linkInfo.st_uid == folder.st_uid;
}

}  // namespace

std::string ReadLink(const FileRef& link)
{
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t length = ::readlinkat(link.folder(), link.name().c_str(), buffer.data(), buffer.size());
        if (length < 0)
            return {};
        if (static_cast<std::size_t>(length) < buffer.size())
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
}

std::optional<FileRef> WriteTarget(const FileRef& file)
{
    FileRef current = file;
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        struct stat info {};
        if (::fstatat(current.folder(), current.name().c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            if (hops == 0)
                return file;  // a missing file is made where it is named
            // A link to a name not made yet, in a folder that is there.
            const std::string name = BaseName(current.name());
            struct stat folder {};
            if (errno != ENOENT || name.empty() || name == "." || name == ".."
                || ::fstatat(current.folder(), FolderOf(current.name()).c_str(), &folder, 0) != 0
                || !S_ISDIR(folder.st_mode))
                return std::nullopt;
            return current;
        }
        if (!S_ISLNK(info.st_mode))
            return current;
        if (hops == kMaxLinks || !MayFollow(current, info))
            return std::nullopt;
        const std::string text = ReadLink(current);
        if (text.empty())
            return std::nullopt;
        // A relative link starts from the folder that holds it.
        current = text.front() == '/' ? FileRef(text)
                                      : FileRef::In(current.folder(), JoinPath(FolderOf(current.name()), text));
    }
    return std::nullopt;
}

}  // namespace tavlo::platform
