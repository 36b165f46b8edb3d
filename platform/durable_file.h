#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/file_ref.h"

// Whole-file reads and crash-safe whole-file replacement, for small files that
// must never be left torn: after a crash at any moment the file holds either
// its old bytes or its new bytes.
namespace tavlo::platform {

enum class FileReadStatus {
    Ok,       // the file exists and `bytes` holds all of it (possibly nothing)
    Missing,  // no such file (or a folder on its path is missing)
    Failed,   // the file is there but could not be read, or is no regular file,
              // or is a symbolic link that leads to no folder
};

struct FileContents {
    FileReadStatus status = FileReadStatus::Missing;
    std::string bytes;
};

// A symbolic link is read through to its target (links.h: WriteTarget).
FileContents ReadWholeFile(const FileRef& file);

// Replaces `file` with `bytes`: writes a temporary file in the
// same folder, flushes it to the disk, renames it over the old file and
// flushes the folder. A folder that refuses new files or the replacing rename
// (a sticky folder, a file of another user) while the file itself may be
// written gets the file written in place and flushed instead, without the
// promise of atomicity. On failure returns false, removes the temporary file
// and leaves the old file as it was; only a failure of the last step, after
// the rename, leaves the new bytes in place without the promise that they
// reached the disk. An existing file that the process may not write is
// refused, as a write in place would be. A symbolic link is written through
// to its target, and made there when its folder is; a link that leads to no
// folder, or that may not be followed, is refused, never replaced by a file.
// The old file's permission bits (and, where allowed, its owner) are kept; a
// new file gets 0666 less the umask.
bool ReplaceFileDurably(const FileRef& file, std::string_view bytes);

// Removes the temporary files that replaces of `file` left beside it when a
// process was killed in the middle of one. Only names of this layer's own
// pattern go. Call it only while no other process may be replacing `file`.
void RemoveLeftoverTemporaries(const FileRef& file);

// Writes all of `bytes` to `fd` through `write` (the system's write() when
// null). False on an error, and on a call that writes nothing, which would
// otherwise be retried for ever. A write beyond the process's file-size limit
// fails with EFBIG instead of ending the process with SIGXFSZ, so that the
// caller can put the old bytes back.
using WriteCall = long (*)(int fd, const void* data, std::size_t size);
bool WriteAll(int fd, std::string_view bytes, WriteCall write = nullptr);

// The steps of ReplaceFileDurably, in order. Tests make one of them fail to
// check that nothing is left behind.
enum class DurableStep { CreateTemp, Write, Sync, Close, Rename, SyncFolder };
// Returns true to make `step` fail as if the system had refused it.
using DurableFaultHook = bool (*)(DurableStep step);
// Installs `hook` (nullptr removes it). For tests only.
void SetDurableFaultHook(DurableFaultHook hook);

}  // namespace tavlo::platform
