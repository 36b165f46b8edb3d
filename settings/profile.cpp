#include "settings/profile.h"

#include "platform/executable_dir.h"

#include <limits>
#include <new>
#include <vector>

namespace tavlo {

namespace {

FileRef Resolve(const FileRef& file)
{
    return file.empty() ? FileRef(GetProfilePath()) : file;
}

// Cuts the text at the first ";" and drops the spaces before it.
std::string BeforeComment(std::string_view text)
{
    text = text.substr(0, text.find(';'));
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return std::string(text);
}

}  // namespace

std::string GetProfilePath()
{
    return JoinPath(platform::ExecutableDirectory(), kProfileFileName);
}

std::string ReadProfileString(std::string_view section, std::string_view key, std::string_view defaultText,
                              const FileRef& file)
{
    const FileRef target = Resolve(file);
    std::vector<char> buffer(kValueBufferSize, '\0');
    platform::ProfileGetString(std::string(section).c_str(), std::string(key).c_str(), std::string(defaultText).c_str(),
                               buffer.data(), kValueBufferSize, target);
    return TrimAtNull(std::string_view(buffer.data(), buffer.size()), std::string_view("\0", 1));
}

std::optional<SectionList> ReadProfileSection(std::string_view section, const FileRef& file)
{
    const FileRef target = Resolve(file);
    const std::string name(section);
    // A list that fills the buffer may have been cut: ask again with twice the
    // room, until it fits or no more memory can be had.
    std::vector<char> buffer;
    for (std::uint32_t size = kSectionBufferSize;; size *= 2) {
        try {
            buffer.assign(size, '\0');
        } catch (const std::bad_alloc&) {
            break;
        }
        const std::uint32_t got = platform::ProfileGetSection(name.c_str(), buffer.data(), size, target);
        if (got + 2 < size || size > std::numeric_limits<std::uint32_t>::max() / 2)
            break;
    }
    if (buffer.empty())
        return std::nullopt;
    const std::string text = TrimAtNull(std::string_view(buffer.data(), buffer.size()), std::string_view("\0\0", 2));
    if (text.empty())
        return std::nullopt;

    SectionList list;
    std::string_view rest(text);
    for (;;) {
        const auto end = rest.find('\0');
        const std::string_view line = rest.substr(0, end);
        std::string_view key = line;
        std::string_view value;
        if (const auto equals = line.find('='); equals != std::string_view::npos) {
            key = line.substr(0, equals);
            value = line.substr(equals + 1);
        }
        // A ";" in the key part makes the whole line a comment from there on.
        if (key.find(';') != std::string_view::npos) {
            list.push_back(BeforeComment(key));
            list.emplace_back();
        } else {
            list.emplace_back(key);
            list.push_back(BeforeComment(value));
        }
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    return list;
}

bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value, const FileRef& file)
{
    const FileRef target = Resolve(file);
    return platform::ProfilePutString(std::string(section).c_str(), std::string(key).c_str(),
                                      std::string(value).c_str(), target);
}

bool ClearProfileSection(std::string_view section, const FileRef& file)
{
    const FileRef target = Resolve(file);
    return platform::ProfileClearSection(std::string(section).c_str(), target);
}

bool WriteProfileChanges(const std::vector<ProfileChange>& changes, const FileRef& file)
{
    return platform::ProfilePutChanges(changes, Resolve(file));
}

void RemoveProfileLeftovers(const FileRef& file)
{
    platform::ProfileRemoveLeftovers(Resolve(file));
}

bool IsProfileUnreadable(const FileRef& file)
{
    return platform::ProfileFileUnreadable(Resolve(file));
}

std::string TrimAtNull(std::string_view text, std::string_view terminator)
{
    const auto position = text.find(terminator);
    if (position == std::string_view::npos)
        return std::string(text);
    return std::string(text.substr(0, position));
}

}  // namespace tavlo
