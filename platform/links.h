#pragma once

#include <optional>
#include <string>

#include "platform/file_ref.h"

// Symbolic links, in the one place the program follows them itself: as the
// kernel follows them for this user, through the folder a file is reached
// by, without /proc.
namespace tavlo::platform {

// The text of the symbolic link `link`, however long; empty when it cannot be
// read.
std::string ReadLink(const FileRef& link);

// The file that writes of `file` reach: the end of its chain of symbolic
// links, so the links themselves stay, or the file as given. A link to a
// file not made yet leads to that name in the folder it points into. None
// when a link leads nowhere (its drive not mounted, its folder gone: a file
// written in the link's place would cut the drawing on the drive off from
// the program), and for a link that the kernel's rule for shared folders
// forbids following: in a folder with the sticky bit that every account may
// write, a link owned by neither this user nor the folder's owner (another
// account's link planted there). Such a link reads as a file that cannot be
// read and is never written through.
std::optional<FileRef> WriteTarget(const FileRef& file);

}  // namespace tavlo::platform
