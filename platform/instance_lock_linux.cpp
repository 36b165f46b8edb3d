#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <utility>

#include "platform/descriptor.h"
#include "platform/links.h"
#include "platform/paths.h"

namespace tavlo::platform {

namespace {

enum class LockResult {
    Held,         // this process holds it now
    Taken,        // another instance holds it
    Unavailable,  // no lock to be had here: nothing to meet another instance on
};

// Read access only where there is write access: whoever can open the lock
// file at all can open it to write, so an account that may only read the
// drawing cannot hold even a shared lock on it. The owner keeps both.
mode_t ReadWhereWrite(mode_t mode)
{
    mode &= 0666;
    for (const int shift : {6, 3, 0}) {
        if ((mode & (02 << shift)) == 0)
            mode &= ~static_cast<mode_t>(04 << shift);
    }
    return mode | 0600;
}

// A lock file that another account put into a sticky folder that every
// account may write, before the drawing's own accounts made theirs: this user
// cannot remove it, and its holder need not be able to write the drawing.
bool IsStrangersFile(const FileRef& lockFile, const struct stat& lock, const std::optional<struct stat>& settings)
{
    if (lock.st_uid == ::geteuid() || (settings && lock.st_uid == settings->st_uid))
        return false;
    struct stat folder {};
    if (::fstatat(lockFile.folder(), FolderOf(lockFile.name()).c_str(), &folder, 0) != 0)
        return true;
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return shared && lock.st_uid != folder.st_uid;
}

// A write lock on the first byte of the open file `fd`: an open file
// description's lock, which a second descriptor of the same process meets
// too, or a process's lock on systems without them.
LockResult LockFirstByte(int fd)
{
    struct flock byte {};
    byte.l_type = F_WRLCK;
    byte.l_whence = SEEK_SET;
    byte.l_start = 0;
    byte.l_len = 1;
    int result = ::fcntl(fd, F_OFD_SETLK, &byte);
    if (result != 0 && errno == EINVAL) {
        byte.l_pid = 0;
        result = ::fcntl(fd, F_SETLK, &byte);
    }
    if (result == 0)
        return LockResult::Held;
    return errno == EAGAIN || errno == EACCES ? LockResult::Taken : LockResult::Unavailable;
}

}  // namespace

// Each settings file has its lock file beside it; a settings file that is a
// link has one at the link and one at its target, so that every instance
// meets the others however it names the drawing. In a folder that refuses
// new files the settings file itself is locked instead: the writes there go
// in place and keep it the same file.
InstanceLock::InstanceLock(const FileRef& settings)
{
    const std::optional<FileRef> target = WriteTarget(settings);
    std::vector<FileRef> files{settings};
    if (target && !(*target == settings))
        files.push_back(*target);
    // The drawing's own file, whose writers the lock files get.
    std::optional<struct stat> drawing;
    if (struct stat info{}; target
                            && ::fstatat(target->folder(), target->name().c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0
                            && S_ISREG(info.st_mode))
        drawing = info;

    std::vector<std::pair<dev_t, ino_t>> locked;
    const auto take = [&](Descriptor fd) {
        struct stat info {};
        if (::fstat(fd.get(), &info) != 0)
            return LockResult::Unavailable;
        const std::pair<dev_t, ino_t> identity{info.st_dev, info.st_ino};
        if (std::find(locked.begin(), locked.end(), identity) != locked.end())
            return LockResult::Held;
        const LockResult result = LockFirstByte(fd.get());
        if (result == LockResult::Held) {
            locked.push_back(identity);
            m_fds.push_back(fd.release());
        }
        return result;
    };

    for (const FileRef& file : files) {
        const FileRef lockFile = file.Beside(LockFileName(file.name()));
        const char* lockName = lockFile.name().c_str();

        // Made with 0666 less the umask, then given the settings file's
        // writers, so the same accounts share the drawing and its lock.
        Descriptor fd(::openat(lockFile.folder(), lockName, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
        const bool created = fd.valid();
        if (!created && errno == EEXIST)
            fd = Descriptor(::openat(lockFile.folder(), lockName, O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
        const int openError = errno;

        LockResult result = LockResult::Unavailable;
        struct stat lock {};
        if (fd.valid() && ::fstat(fd.get(), &lock) == 0 && S_ISREG(lock.st_mode)
            && (created || !IsStrangersFile(lockFile, lock, drawing))) {
            if (lock.st_uid == ::geteuid()) {
                const mode_t wanted = ReadWhereWrite(drawing ? drawing->st_mode : lock.st_mode);
                if ((lock.st_mode & 07777) != wanted && ::fchmod(fd.get(), wanted) != 0) {
                    // The lock works all the same; only its readers are wider.
                }
            }
            result = take(std::move(fd));
        } else if (!fd.valid() && (openError == EACCES || openError == EPERM || openError == EROFS) && drawing
                   && file == *target) {
            result = take(Descriptor(::openat(file.folder(), file.name().c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW)));
        }
        if (result == LockResult::Taken)
            m_owns = false;
    }
}

InstanceLock::~InstanceLock()
{
    for (const int fd : m_fds)
        ::close(fd);
}

}  // namespace tavlo::platform
