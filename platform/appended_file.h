#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/durable_file.h"
#include "platform/file_ref.h"

// A file that only grows, line by line, and whose last lines alone are read
// back: the journal of a drawing.
namespace tavlo::platform {

// The last `maxBytes` bytes of `file` (all of it when shorter), with the
// status of ReadWholeFile: Missing when there is no such file.
FileContents ReadFileEnd(const FileRef& file, std::size_t maxBytes);

// Adds `bytes` at the end of the existing `file` and flushes them to the disk
// before returning. Never makes the file. False when it is missing or the
// write or the flush failed; a write that failed part-way may leave the
// start of `bytes` in the file.
bool AppendDurably(const FileRef& file, std::string_view bytes);

}  // namespace tavlo::platform
