#include "platform/durable_file.h"
#include "platform/paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>
#include <random>

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

// Closes a descriptor when the scope ends, unless it was released.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return m_fd; }
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

// As many links as the system follows in one path.
constexpr int kMaxLinks = 40;

}  // namespace

std::optional<std::string> WriteTarget(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) != nullptr)
        return std::string(resolved);
    std::string current = path;
    for (int hops = 0; hops < kMaxLinks; ++hops) {
        if (::lstat(current.c_str(), &info) != 0) {
            const std::string name = BaseName(current);
            if (errno != ENOENT || name.empty() || name == "." || name == ".."
                || ::realpath(FolderOf(current).c_str(), resolved) == nullptr)
                return std::nullopt;
            return JoinPath(resolved, name);
        }
        if (!S_ISLNK(info.st_mode))
            return std::nullopt;
        const ssize_t length = ::readlink(current.c_str(), resolved, sizeof resolved);
        if (length <= 0 || static_cast<std::size_t>(length) >= sizeof resolved)
            return std::nullopt;
        const std::string next(resolved, static_cast<std::size_t>(length));
        current = next.front() == '/' ? next : JoinPath(FolderOf(current), next);
    }
    return std::nullopt;
}

namespace {

// "." name ".tmp-" pid "-" counter "-" noise, the three parts in decimal.
std::string TempPrefix(const std::string& path)
{
    return "." + BaseName(path) + ".tmp-";
}

std::string TempNameBeside(const std::string& path)
{
    static std::atomic<unsigned> counter{0};
    static thread_local std::minstd_rand noise{std::random_device{}()};
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    return folder + TempPrefix(path) + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1)) + "-"
           + std::to_string(noise());
}

bool IsTempNameOf(const std::string& name, const std::string& path)
{
    const std::string prefix = TempPrefix(path);
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
bool WriteInPlace(const std::string& target, std::string_view bytes)
{
    const FileContents old = ReadWholeFile(target);
    if (old.status != FileReadStatus::Ok)
        return false;
    Descriptor fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW));
    if (fd.get() < 0)
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
bool SyncFolder(const std::string& target)
{
    if (Injected(DurableStep::SyncFolder))
        return false;
    Descriptor fd(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno != EACCES)
            return false;
        // A folder that may be written but not read (mode 0333) opens for no
        // flush: the whole file system that holds the file is flushed instead.
        Descriptor file(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK));
        return file.get() >= 0 && ::syncfs(file.get()) == 0;
    }
    if (::fsync(fd.get()) == 0)
        return true;
    // Some file systems cannot flush a folder at all; the rename is then as
    // durable as they make it.
    return errno == EINVAL || errno == ENOTSUP;
}

}  // namespace

bool WriteAll(int fd, std::string_view bytes, WriteCall write)
{
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

void RemoveLeftoverTemporaries(const std::string& path)
{
    const std::optional<std::string> target = WriteTarget(path);
    if (!target)
        return;
    const std::string folder = FolderOf(*target);
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr)
        return;
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

FileContents ReadWholeFile(const std::string& path)
{
    FileContents contents;
    // Non-blocking, so that a FIFO in the file's place cannot hang the reader;
    // anything but a regular file is refused below.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        // A link that leads nowhere is a file that is there but cannot be read.
        const bool missing = (errno == ENOENT || errno == ENOTDIR) && WriteTarget(path);
        contents.status = missing ? FileReadStatus::Missing : FileReadStatus::Failed;
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

bool ReplaceFileDurably(const std::string& path, std::string_view bytes)
{
    if (path.empty() || path.back() == '/')
        return false;
    const std::optional<std::string> resolved = WriteTarget(path);
    if (!resolved)
        return false;
    const std::string& target = *resolved;

    struct stat old {};
    const bool hadOld = ::stat(target.c_str(), &old) == 0;
    if (hadOld && !S_ISREG(old.st_mode))
        return false;
    // A file we may not write stays as it is, as it would with a write in
    // place; the rename alone would not ask.
    if (hadOld && ::access(target.c_str(), W_OK) != 0)
        return false;

    std::string temp;
    int created = -1;
    if (!Injected(DurableStep::CreateTemp)) {
        for (int attempt = 0; attempt < 100 && created < 0; ++attempt) {
            temp = TempNameBeside(target);
            // 0666 less the umask is what a new file would get anyway.
            created = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (created < 0 && errno != EEXIST)
                break;
        }
        if (created < 0 && hadOld && (errno == EACCES || errno == EPERM))
            return WriteInPlace(target, bytes);
    }
    if (created < 0)
        return false;
    Descriptor fd(created);

    const auto fail = [&temp]() {
        ::unlink(temp.c_str());
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
    if (Injected(DurableStep::Rename) || ::rename(temp.c_str(), target.c_str()) != 0) {
        // A folder with the sticky bit lets only the file's owner replace it,
        // however writable the file is.
        const bool refused = errno == EPERM || errno == EACCES;
        fail();
        return refused && hadOld && WriteInPlace(target, bytes);
    }
    return SyncFolder(target);
}

}  // namespace tavlo::platform
