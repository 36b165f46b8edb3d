#include "platform/profile_portable.h"
#include "platform/durable_file.h"
#include "platform/ini_document.h"
#include "platform/profile_api.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The profile functions for systems without kernel32, alike in the bytes they
// return and write. Every write goes through a durable whole-file replace,
// and a write that would change nothing writes nothing.
namespace tavlo::platform {

namespace {

std::atomic<unsigned> g_codePage{kCodePageUtf8};

// The Windows functions cut only spaces (not tabs) from the names they are given.
std::string_view TrimSpaces(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::optional<IniDocument> Load(const FileRef& file)
{
    if (file.empty())
        return std::nullopt;
    FileContents contents = ReadWholeFile(file);
    if (contents.status != FileReadStatus::Ok)
        return std::nullopt;
    return IniDocument(std::move(contents.bytes), g_codePage.load());
}

// Loads the file for an edit; a file that is there but cannot be read is
// never replaced by one built from nothing.
std::optional<IniDocument> LoadForEdit(const FileRef& file, bool& exists)
{
    exists = false;
    FileContents contents = ReadWholeFile(file);
    if (contents.status == FileReadStatus::Failed)
        return std::nullopt;
    exists = contents.status == FileReadStatus::Ok;
    return IniDocument(std::move(contents.bytes), g_codePage.load());
}

std::uint32_t CopyString(std::string_view text, char* buffer, std::uint32_t size)
{
    const std::size_t length = std::min<std::size_t>(text.size(), size - 1);
    if (length > 0)
        std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return static_cast<std::uint32_t>(length);
}

// A list of NUL-terminated texts closed by one more NUL. When the list does
// not fit, or would only just fit, it is cut to size - 2 bytes and closed with
// two NULs, and size - 2 is returned.
std::uint32_t CopyList(const std::vector<std::string>& items, char* buffer, std::uint32_t size)
{
    if (size == 1) {
        buffer[0] = '\0';
        return 0;
    }
    std::size_t at = 0;
    const std::size_t room = size - 2;
    bool cut = false;
    for (const std::string& item : items) {
        const std::size_t wanted = item.size() + 1;
        if (at + wanted > room) {
            // What is left of the room takes the start of this item.
            std::memcpy(buffer + at, item.data(), room - at);
            cut = true;
            break;
        }
        std::memcpy(buffer + at, item.data(), item.size());
        at += item.size();
        buffer[at++] = '\0';
    }
    if (cut) {
        buffer[room] = '\0';
        buffer[room + 1] = '\0';
        return static_cast<std::uint32_t>(room);
    }
    buffer[at] = '\0';
    if (at == 0)
        buffer[1] = '\0';
    return static_cast<std::uint32_t>(at);
}

std::uint32_t CopyValue(std::string_view value, char* buffer, std::uint32_t size)
{
    // One pair of matching quotes goes. The closing quote is dropped after the
    // value has been cut to the buffer, so a cut value loses its last
    // character instead when the quote no longer fits.
    bool quoted = false;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        quoted = true;
        value.remove_prefix(1);
    }
    std::size_t length = std::min<std::size_t>(value.size(), size - 1);
    if (quoted && size >= value.size() && length > 0)
        --length;
    return CopyString(value.substr(0, length), buffer, size);
}

bool Store(const FileRef& file, const IniDocument& document)
{
    return ReplaceFileDurably(file, document.bytes());
}

std::uint32_t CopyDefault(const char* defaultValue, char* buffer, std::uint32_t size)
{
    // The default loses its trailing spaces, nothing else: not its quotes.
    std::string_view fallback = defaultValue == nullptr ? std::string_view() : std::string_view(defaultValue);
    const auto last = fallback.find_last_not_of(' ');
    fallback = last == std::string_view::npos ? std::string_view() : fallback.substr(0, last + 1);
    return CopyString(fallback, buffer, size);
}

std::uint32_t GetString(const char* section, const char* key, const char* defaultValue, char* buffer,
                        std::uint32_t size, const FileRef& file)
{
    const std::optional<IniDocument> document = Load(file);
    if (section == nullptr)
        return CopyList(document ? document->SectionNames() : std::vector<std::string>(), buffer, size);
    if (key == nullptr)
        return CopyList(document ? document->KeyNames(TrimSpaces(section)) : std::vector<std::string>(), buffer, size);
    if (document) {
        if (const auto value = document->Value(TrimSpaces(section), TrimSpaces(key)))
            return CopyValue(*value, buffer, size);
    }
    return CopyDefault(defaultValue, buffer, size);
}

std::uint32_t GetSection(const char* section, char* buffer, std::uint32_t size, const FileRef& file)
{
    const std::optional<IniDocument> document = Load(file);
    if (!document || section == nullptr)
        return CopyList({}, buffer, size);
    // The section name is matched as given, spaces and all.
    return CopyList(document->SectionEntries(section), buffer, size);
}

bool RemoveFirstSection(const char* section, const FileRef& file)
{
    bool exists = false;
    std::optional<IniDocument> document = LoadForEdit(file, exists);
    if (!document)
        return false;
    if (!exists || !document->RemoveFirstSection(section))
        return true;
    return Store(file, *document);
}

bool PutString(const char* section, const char* key, const char* value, const FileRef& file)
{
    if (key == nullptr)
        return RemoveFirstSection(std::string(TrimSpaces(section)).c_str(), file);
    bool exists = false;
    std::optional<IniDocument> document = LoadForEdit(file, exists);
    if (!document)
        return false;
    if (value == nullptr) {
        // Removing a key from a file that is not there leaves no file.
        if (!exists || !document->DeleteKey(TrimSpaces(section), TrimSpaces(key)))
            return true;
        return Store(file, *document);
    }
    if (!document->SetValue(TrimSpaces(section), TrimSpaces(key), value))
        return true;
    return Store(file, *document);
}

bool PutChanges(const std::vector<ProfileChange>& changes, const FileRef& file)
{
    bool exists = false;
    std::optional<IniDocument> document = LoadForEdit(file, exists);
    if (!document)
        return false;
    bool changed = false;
    for (const ProfileChange& change : changes) {
        // Each text ends at its first NUL, as it would for the Windows functions.
        const std::string_view section = TrimSpaces(change.section.c_str());
        if (change.kind == ProfileChange::Kind::ClearSection) {
            for (int removed = 0; document->RemoveFirstSection(section); ++removed) {
                if (removed == kMaxSectionsOfOneName)
                    return false;
                changed = true;
            }
            continue;
        }
        const std::string_view key = TrimSpaces(change.key.c_str());
        if (change.kind == ProfileChange::Kind::StoreIfMissing && document->Value(section, key))
            continue;
        changed = document->SetValue(section, key, change.value.c_str()) || changed;
    }
    if (!changed)
        return true;
    return Store(file, *document);
}

bool PutSection(const char* section, const char* entries, const FileRef& file)
{
    if (entries == nullptr)
        return RemoveFirstSection(section, file);
    std::vector<std::string> lines;
    for (const char* entry = entries; *entry != '\0'; entry += std::strlen(entry) + 1)
        lines.emplace_back(entry);
    bool exists = false;
    std::optional<IniDocument> document = LoadForEdit(file, exists);
    if (!document)
        return false;
    if (!document->ReplaceSection(section, lines))
        return true;
    return Store(file, *document);
}

}  // namespace

void SetProfileCodePage(unsigned codePage)
{
    g_codePage.store(codePage);
}

unsigned ProfileCodePage()
{
    return g_codePage.load();
}

// The public functions below refuse what the Windows ones refuse and turn any
// exception (memory running out on a monstrous file) into the answer for a
// missing file or a failed write: nothing here throws to its caller.

std::uint32_t ProfileGetString(const char* section, const char* key, const char* defaultValue, char* buffer,
                               std::uint32_t size, const FileRef& file)
{
    if (buffer == nullptr || size == 0)
        return 0;
    try {
        return GetString(section, key, defaultValue, buffer, size, file);
    } catch (...) {
        return CopyDefault(defaultValue, buffer, size);
    }
}

std::uint32_t ProfileGetSection(const char* section, char* buffer, std::uint32_t size, const FileRef& file)
{
    if (buffer == nullptr || size == 0)
        return 0;
    try {
        return GetSection(section, buffer, size, file);
    } catch (...) {
        return CopyList({}, buffer, size);
    }
}

bool ProfilePutString(const char* section, const char* key, const char* value, const FileRef& file)
{
    if (section == nullptr || file.empty())
        return false;
    try {
        return PutString(section, key, value, file);
    } catch (...) {
        return false;
    }
}

bool ProfilePutSection(const char* section, const char* entries, const FileRef& file)
{
    if (section == nullptr || file.empty())
        return false;
    try {
        return PutSection(section, entries, file);
    } catch (...) {
        return false;
    }
}

bool ProfileClearSection(const char* section, const FileRef& file)
{
    if (section == nullptr || file.empty())
        return false;
    return ProfilePutChanges({{ProfileChange::Kind::ClearSection, section, {}, {}}}, file);
}

bool ProfilePutChanges(const std::vector<ProfileChange>& changes, const FileRef& file)
{
    if (file.empty())
        return false;
    try {
        return PutChanges(changes, file);
    } catch (...) {
        return false;
    }
}

void ProfileRemoveLeftovers(const FileRef& file)
{
    if (!file.empty())
        RemoveLeftoverTemporaries(file);
}

bool ProfileFileUnreadable(const FileRef& file)
{
    if (file.empty())
        return false;
    try {
        return ReadWholeFile(file).status == FileReadStatus::Failed;
    } catch (...) {
        return true;  // there, but too big to hold
    }
}

}  // namespace tavlo::platform
