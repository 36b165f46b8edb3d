#include "settings/profile.h"

#include "platform/executable_dir.h"
#include "platform/profile_api.h"

#include <vector>

namespace tavlo {

namespace {

constexpr std::string_view kProfileFileName = "Tavlo.ini";

std::string ResolvePath(std::string_view fileName)
{
    return fileName.empty() ? GetProfilePath() : std::string(fileName);
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

std::string JoinPath(std::string_view directory, std::string_view fileName)
{
    std::string path(directory);
    if (path.empty() || path.back() != platform::kPathSeparator)
        path += platform::kPathSeparator;
    path += fileName;
    return path;
}

std::string ReadProfileString(std::string_view section, std::string_view key,
                              std::string_view defaultText, std::string_view fileName)
{
    const std::string path = ResolvePath(fileName);
    std::vector<char> buffer(kValueBufferSize, '\0');
    platform::ProfileGetString(std::string(section).c_str(), std::string(key).c_str(),
                               std::string(defaultText).c_str(), buffer.data(), kValueBufferSize,
                               path.c_str());
    return TrimAtNull(std::string_view(buffer.data(), buffer.size()), std::string_view("\0", 1));
}

std::optional<SectionList> ReadProfileSection(std::string_view section, std::string_view fileName)
{
    const std::string path = ResolvePath(fileName);
    std::vector<char> buffer(kSectionBufferSize, '\0');
    platform::ProfileGetSection(std::string(section).c_str(), buffer.data(), kSectionBufferSize,
                                path.c_str());
    const std::string text =
        TrimAtNull(std::string_view(buffer.data(), buffer.size()), std::string_view("\0\0", 2));
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

bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value,
                        std::string_view fileName)
{
    const std::string path = ResolvePath(fileName);
    return platform::ProfilePutString(std::string(section).c_str(), std::string(key).c_str(),
                                      std::string(value).c_str(), path.c_str());
}

bool WriteProfileSection(std::string_view section, const SectionList& entries, std::string_view fileName)
{
    const std::string path = ResolvePath(fileName);
    // "key=value" texts, each closed by a NUL, and one more NUL after the last.
    std::string data;
    for (std::size_t i = 0; i < entries.size(); i += 2) {
        data += entries[i];
        data += '=';
        if (i + 1 < entries.size())
            data += entries[i + 1];
        data += '\0';
    }
    data += '\0';
    return platform::ProfilePutSection(std::string(section).c_str(), data.c_str(), path.c_str());
}

bool ClearProfileSection(std::string_view section, std::string_view fileName)
{
    const std::string path = ResolvePath(fileName);
    return platform::ProfileDeleteSection(std::string(section).c_str(), path.c_str());
}

std::string TrimAtNull(std::string_view text, std::string_view terminator)
{
    const auto position = text.find(terminator);
    if (position == std::string_view::npos)
        return std::string(text);
    return std::string(text.substr(0, position));
}

}  // namespace tavlo
