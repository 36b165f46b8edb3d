#include "platform/durable_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <ctime>
#include <optional>
#include <random>

#include "platform/descriptor.h"
#include "platform/links.h"
#include "platform/paths.h"

// Every call reaches the file through the folder it is named in (the *at()
// calls), so a file in a folder held open stays reachable wherever that folder
// is moved, and nothing here needs /proc.
namespace tavlo::platform {

namespace {

std::atomic<DurableFaultHook> g_faultHook{nullptr};

bool Injected(DurableStep step)
{
    const DurableFaultHook hook = g_faultHook.load();
    if (hook == nullptr || !hook(step))
        return false;
    errno = EIO;
    return true;
}

// The folder that holds `file`, opened for listing and flushing.
Descriptor OpenFolderOf(const FileRef& file)
{
    return Descriptor(::openat(file.folder(), FolderOf(file.name()).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

// "." name ".tmp-" pid "-" counter "-" noise, the three parts in decimal.
std::string TempPrefix(const FileRef& file)
{
    return "." + BaseName(file.name()) + ".tmp-";
}

FileRef TempBeside(const FileRef& file)
{
    static std::atomic<unsigned> counter{0};
    static thread_local std::minstd_rand noise{std::random_device{}()};
    return file.Beside(TempPrefix(file) + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1)) + "-"
                       + std::to_string(noise()));
}

bool IsTempNameOf(const std::string& name, const FileRef& file)
{
    const std::string prefix = TempPrefix(file);
    if (name.compare(0, prefix.size(), prefix) != 0)
        return false;
    int parts = 0;
    bool inDigits = false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        const char c = name[i];
        if (c >= '0' && c <= '9') {
            parts += inDigits ? 0 : 1;
            inDigits = true;
        } else if (c == '-' && inDigits) {
            inDigits = false;
        } else {
            return false;
        }
    }
    return parts == 3 && inDigits;
}

// Holds SIGXFSZ back for this thread while it lives, and takes any that came
// meanwhile when it goes: a write across the process's file-size limit (set
// by quotas and some sandboxes) then fails with EFBIG, where the signal would
// have ended the program before the old bytes were put back.
class FileSizeSignalHeld {
public:
    FileSizeSignalHeld()
    {
        sigemptyset(&m_signal);
        sigaddset(&m_signal, SIGXFSZ);
        m_held = ::pthread_sigmask(SIG_BLOCK, &m_signal, &m_before) == 0;
    }
    ~FileSizeSignalHeld()
    {
        if (!m_held)
            return;
        const int error = errno;
        sigset_t pending;
        if (::sigpending(&pending) == 0 && sigismember(&pending, SIGXFSZ) == 1
            && sigismember(&m_before, SIGXFSZ) == 0) {
            const timespec now{0, 0};
            ::sigtimedwait(&m_signal, nullptr, &now);
        }
        ::pthread_sigmask(SIG_SETMASK, &m_before, nullptr);
        errno = error;
    }
    FileSizeSignalHeld(const FileSizeSignalHeld&) = delete;
    FileSizeSignalHeld& operator=(const FileSizeSignalHeld&) = delete;

private:
    sigset_t m_signal{};
    sigset_t m_before{};
    bool m_held = false;
};

// Writes `bytes` over the file's start, cuts it to their length and flushes it.
bool Overwrite(int fd, std::string_view bytes)
{
    return ::lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, bytes)
           && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0;
}

// The folder refuses new files but the file may be written: written in place
// and flushed, as the platform's own profile functions write. A crash in the
// middle may leave it torn. A failure (a disk filling up half-way) puts the
// old bytes back: their room is the file's already, and a cut-off value left
// behind would read as a stored draw.
bool WriteInPlace(const FileRef& target, std::string_view bytes)
{
    const FileContents old = ReadWholeFile(target);
    if (old.status != FileReadStatus::Ok)
        return false;
    Descriptor fd(::openat(target.folder(), target.name().c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!fd.valid())
        return false;
    if (Injected(DurableStep::Write) || !Overwrite(fd.get(), bytes) || Injected(DurableStep::Sync)) {
        const int error = errno;
        Overwrite(fd.get(), old.bytes);
        errno = error;
        return false;
    }
    return !Injected(DurableStep::Close) && ::close(fd.release()) == 0;
}

// Flushes the folder that holds `target`, so that the rename in it lasts.
bool SyncFolder(const FileRef& target)
{
    if (Injected(DurableStep::SyncFolder))
        return false;
    const Descriptor folder = OpenFolderOf(target);
    if (!folder.valid()) {
        if (errno != EACCES)
            return false;
        // A folder that may be written but not read (mode 0333) opens for no
        // flush: the whole file system that holds the file is flushed instead.
        const Descriptor file(
            ::openat(target.folder(), target.name().c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW));
        return file.valid() && ::syncfs(file.get()) == 0;
    }
    if (::fsync(folder.get()) == 0)
        return true;
    // Some file systems cannot flush a folder at all; the rename is then as
    // durable as they make it.
    return errno == EINVAL || errno == ENOTSUP;
}

}  // namespace

bool WriteAll(int fd, std::string_view bytes, WriteCall write)
{
    const FileSizeSignalHeld held;
    while (!bytes.empty()) {
        const long written =
            write ? write(fd, bytes.data(), bytes.size()) : static_cast<long>(::write(fd, bytes.data(), bytes.size()));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0) {
            errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

void RemoveLeftoverTemporaries(const FileRef& file)
{
    const std::optional<FileRef> target = WriteTarget(file);
    if (!target)
        return;
    Descriptor folder = OpenFolderOf(*target);
    if (!folder.valid())
        return;
    DIR* listing = ::fdopendir(folder.get());
    if (listing == nullptr)
        return;
    folder.release();
    const int folderFd = ::dirfd(listing);
    while (const dirent* entry = ::readdir(listing)) {
        if (IsTempNameOf(entry->d_name, *target))
            ::unlinkat(folderFd, entry->d_name, 0);
    }
    ::closedir(listing);
}

void SetDurableFaultHook(DurableFaultHook hook)
{
    g_faultHook.store(hook);
}

FileContents ReadWholeFile(const FileRef& file)
{
    FileContents contents;
    // A link that leads nowhere, or that may not be followed, is a file that
    // is there but cannot be read.
    const std::optional<FileRef> target = WriteTarget(file);
    if (!target) {
        contents.status = FileReadStatus::Failed;
        return contents;
    }
    // Non-blocking, so that a FIFO in the file's place cannot hang the reader;
    // anything but a regular file is refused below.
    const Descriptor fd(
        ::openat(target->folder(), target->name().c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW));
    if (!fd.valid()) {
        contents.status = errno == ENOENT || errno == ENOTDIR ? FileReadStatus::Missing : FileReadStatus::Failed;
        return contents;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        contents.status = FileReadStatus::Failed;
        return contents;
    }
    contents.bytes.reserve(static_cast<std::size_t>(info.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd.get(), chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            contents.status = FileReadStatus::Failed;
            contents.bytes.clear();
            return contents;
        }
        if (got == 0)
            break;
        contents.bytes.append(chunk, static_cast<std::size_t>(got));
    }
    contents.status = FileReadStatus::Ok;
    return contents;
}

bool ReplaceFileDurably(const FileRef& file, std::string_view bytes)
{
    if (file.empty() || file.name().back() == '/')
        return false;
    const std::optional<FileRef> resolved = WriteTarget(file);
    if (!resolved)
        return false;
    const FileRef& target = *resolved;
    const int folder = target.folder();
    const char* name = target.name().c_str();

    struct stat old {};
    const bool hadOld = ::fstatat(folder, name, &old, AT_SYMLINK_NOFOLLOW) == 0;
    if (hadOld && !S_ISREG(old.st_mode))
        return false;
    // A file we may not write stays as it is, as it would with a write in
    // place; the rename alone would not ask.
    if (hadOld && ::faccessat(folder, name, W_OK, 0) != 0)
        return false;

    FileRef temp;
    Descriptor fd;
    if (!Injected(DurableStep::CreateTemp)) {
        for (int attempt = 0; attempt < 100 && !fd.valid(); ++attempt) {
            temp = TempBeside(target);
            // 0666 less the umask is what a new file would get anyway.
            fd = Descriptor(
                ::openat(folder, temp.name().c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
            if (!fd.valid() && errno != EEXIST)
                break;
        }
        if (!fd.valid() && hadOld && (errno == EACCES || errno == EPERM))
            return WriteInPlace(target, bytes);
    }
    if (!fd.valid())
        return false;

    const auto fail = [&temp]() {
        ::unlinkat(temp.folder(), temp.name().c_str(), 0);
        return false;
    };

    if (hadOld) {
        // Owner first: fchown may clear the set-id bits that fchmod then puts back.
        if (::fchown(fd.get(), old.st_uid, old.st_gid) != 0) {
            // Only a privileged process may give a file away; a file of our
            // own keeps its owner anyway.
        }
        if (::fchmod(fd.get(), old.st_mode & 07777) != 0)
            return fail();
    }
    if (Injected(DurableStep::Write) || !WriteAll(fd.get(), bytes))
        return fail();
    if (Injected(DurableStep::Sync) || ::fsync(fd.get()) != 0)
        return fail();
    if (Injected(DurableStep::Close) || ::close(fd.release()) != 0)
        return fail();
    if (Injected(DurableStep::Rename) || ::renameat(folder, temp.name().c_str(), folder, name) != 0) {
        // A folder with the sticky bit lets only the file's owner replace it,
        // however writable the file is.
        const bool refused = errno == EPERM || errno == EACCES;
        fail();
        return refused && hadOld && WriteInPlace(target, bytes);
    }
    return SyncFolder(target);
}

}  // namespace tavlo::platform
