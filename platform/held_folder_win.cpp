#include "platform/held_folder.h"

#include <utility>

#include "platform/paths.h"

namespace tavlo::platform {

// Windows refuses to rename or move a folder while a program inside it runs,
// so the path the folder had at start-up keeps naming it; a program file
// moved out of it still writes here.
HeldFolder::HeldFolder(std::string path) : m_path(std::move(path)) {}

HeldFolder::~HeldFolder() = default;

FileRef HeldFolder::File(std::string_view name) const
{
    return JoinPath(m_path, name);
}

std::string HeldFolder::DisplayPathTo(std::string_view name) const
{
    return JoinPath(m_path, name);
}

}  // namespace tavlo::platform
