// Arbitrary bytes as the settings file: the reads the program makes, the raw
// profile functions with small and odd buffers, and the edits the program
// makes (a Result key, the whole Result section, the removal of section
// Result), each followed by a read that must see it and must find the other
// sections untouched.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "platform/ini_document.h"
#include "platform/profile_api.h"
#include "platform/profile_portable.h"
#include "settings/profile.h"
#include "settings/settings_file.h"

namespace {

using tavlo::fuzz::ScratchFile;
namespace platform = tavlo::platform;

constexpr std::array<std::uint32_t, 5> kOddSizes = {0, 1, 2, 3, 17};
constexpr std::array<unsigned, 3> kCodePages = {platform::kCodePageUtf8, platform::kCodePageShiftJis,
                                                platform::kCodePageWestern};

// A buffer of exactly `size` bytes on the heap, so that AddressSanitizer
// sees a write one byte past it. Filled with a byte no answer ends with.
std::unique_ptr<char[]> OddBuffer(std::uint32_t size)
{
    std::unique_ptr<char[]> buffer(new char[size]);
    std::memset(buffer.get(), 'X', size);
    return buffer;
}

std::string GetString(const char* section, const char* key, const char* fallback, const std::string& path)
{
    std::vector<char> buffer(tavlo::kValueBufferSize, 'X');
    const std::uint32_t length =
        platform::ProfileGetString(section, key, fallback, buffer.data(), tavlo::kValueBufferSize, path.c_str());
    TAVLO_FUZZ_CHECK(length < tavlo::kValueBufferSize);
    TAVLO_FUZZ_CHECK(buffer[length] == '\0');
    return std::string(buffer.data(), length);
}

// The raw section list, its closing NUL pair included.
std::string GetSection(const char* section, const std::string& path)
{
    std::vector<char> buffer(tavlo::kSectionBufferSize, 'X');
    const std::uint32_t length =
        platform::ProfileGetSection(section, buffer.data(), tavlo::kSectionBufferSize, path.c_str());
    TAVLO_FUZZ_CHECK(length <= tavlo::kSectionBufferSize - 2);
    const std::string_view text(buffer.data(), length + 2);
    const std::size_t end = text.find(std::string_view("\0\0", 2));
    TAVLO_FUZZ_CHECK(end != std::string_view::npos);
    return std::string(text.substr(0, end + 2));
}

// Every list the profile functions return, cut or not, is closed with a NUL
// pair inside the buffer (a single NUL in a buffer of one byte).
bool ListClosed(const char* buffer, std::uint32_t size, std::uint32_t length)
{
    if (size == 1)
        return buffer[0] == '\0' && length == 0;
    const std::string_view text(buffer, std::min<std::size_t>(size, std::size_t{length} + 2));
    return buffer[length] == '\0' && text.find(std::string_view("\0\0", 2)) != std::string_view::npos;
}

void CheckOddStringBuffers(const char* section, const char* key, const char* fallback, const std::string& path)
{
    const std::string full = GetString(section, key, fallback, path);
    for (const std::uint32_t size : kOddSizes) {
        const auto buffer = OddBuffer(size);
        const std::uint32_t length =
            platform::ProfileGetString(section, key, fallback, buffer.get(), size, path.c_str());
        if (size == 0) {
            TAVLO_FUZZ_CHECK(length == 0);
            continue;
        }
        TAVLO_FUZZ_CHECK(length < size);
        TAVLO_FUZZ_CHECK(buffer[length] == '\0');
        TAVLO_FUZZ_CHECK(std::strlen(buffer.get()) == length);
        // A smaller buffer cuts the same text shorter.
        TAVLO_FUZZ_CHECK(std::string_view(full).substr(0, length) == std::string_view(buffer.get(), length));
    }
}

void CheckOddSectionBuffers(const char* section, const std::string& path)
{
    const std::string full = GetSection(section, path);
    for (const std::uint32_t size : kOddSizes) {
        const auto buffer = OddBuffer(size);
        const std::uint32_t length = platform::ProfileGetSection(section, buffer.get(), size, path.c_str());
        if (size == 0) {
            TAVLO_FUZZ_CHECK(length == 0);
            continue;
        }
        TAVLO_FUZZ_CHECK(length < size);
        TAVLO_FUZZ_CHECK(ListClosed(buffer.get(), size, length));
        TAVLO_FUZZ_CHECK(std::string_view(full).substr(0, length) == std::string_view(buffer.get(), length));
    }
}

// The section names in file order, split into those of section Result and
// the others, which an edit of section Result must leave as they were.
struct SectionNames {
    std::size_t results = 0;
    std::vector<std::string> others;
};

SectionNames ReadSectionNames(const std::string& path)
{
    std::vector<char> buffer(tavlo::kSectionBufferSize, 'X');
    const std::uint32_t length =
        platform::ProfileGetString(nullptr, nullptr, "", buffer.data(), tavlo::kSectionBufferSize, path.c_str());
    TAVLO_FUZZ_CHECK(ListClosed(buffer.data(), tavlo::kSectionBufferSize, length));
    SectionNames names;
    // Walked by the length returned: a section "[]" has an empty name.
    std::string_view list(buffer.data(), length);
    while (!list.empty()) {
        const std::string_view name = list.substr(0, list.find('\0'));
        list.remove_prefix(std::min(list.size(), name.size() + 1));
        std::string folded(name);
        for (char& c : folded) {
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        }
        if (folded == "RESULT")
            ++names.results;
        else
            names.others.emplace_back(name);
    }
    return names;
}

// What an edit of section Result must leave as it was: the range read at
// start-up, section Condition, and the names of the other sections.
struct StartupView {
    std::string range;
    std::string condition;
    std::vector<std::string> otherSections;

    bool operator==(const StartupView&) const = default;
};

StartupView ReadOthers(const std::string& path)
{
    return {tavlo::ReadProfileString("Condition", "Range", "", path), GetSection("Condition", path),
            ReadSectionNames(path).others};
}

void CheckReads(const std::string& path)
{
    const std::string range = tavlo::ReadProfileString("Condition", "Range", "", path);
    TAVLO_FUZZ_CHECK(range.size() < tavlo::kValueBufferSize);
    TAVLO_FUZZ_CHECK(range.find('\0') == std::string::npos);
    TAVLO_FUZZ_CHECK(range == GetString("Condition", "Range", "", path));

    const std::optional<tavlo::SectionList> results = tavlo::ReadProfileSection("Result", path);
    const std::string raw = GetSection("Result", path);
    const auto lines = static_cast<std::size_t>(std::count(raw.begin(), raw.end(), '\0')) - 1;
    if (raw.size() == 2) {
        TAVLO_FUZZ_CHECK(!results.has_value());
    } else {
        TAVLO_FUZZ_CHECK(results.has_value());
        TAVLO_FUZZ_CHECK(results->size() == 2 * lines);
        for (const std::string& text : *results)
            TAVLO_FUZZ_CHECK(text.find(';') == std::string::npos);
    }

    CheckOddStringBuffers("Condition", "Range", "", path);
    CheckOddStringBuffers("Result", "1", "none at all", path);
    CheckOddStringBuffers("No such section", "Range", "  fallback  ", path);
    CheckOddSectionBuffers("Result", path);
    CheckOddSectionBuffers("Condition", path);
}

// The key of the section's first entry, as the section list spells it. In
// a double-byte code page a key may end in a lead byte that swallows the
// "=" after it, so such a key cannot be written back the same; the program
// writes only ASCII keys.
std::optional<std::string> FirstKey(const std::string& path)
{
    const std::string raw = GetSection("Result", path);
    if (raw.size() == 2)
        return std::nullopt;
    const std::string line(raw.c_str());
    std::string key = line.substr(0, line.find('='));
    const bool ascii = std::all_of(key.begin(), key.end(), [](char c) { return (c & 0x80) == 0; });
    if (!ascii && platform::ProfileCodePage() == platform::kCodePageShiftJis)
        return std::nullopt;
    return key;
}

void CheckEdits(const std::string& path)
{
    const StartupView before = ReadOthers(path);

    // The next ordinal, as a draw writes it.
    const std::string raw = GetSection("Result", path);
    const auto entries = static_cast<std::size_t>(std::count(raw.begin(), raw.end(), '\0')) - 1;
    const std::string ordinal = std::to_string(entries + 1);
    TAVLO_FUZZ_CHECK(platform::ProfilePutString("Result", ordinal.c_str(), "123", path.c_str()));
    TAVLO_FUZZ_CHECK(GetString("Result", ordinal.c_str(), "missing", path) == "123");
    TAVLO_FUZZ_CHECK(ReadOthers(path) == before);

    // An existing key, replaced where it stands.
    if (const std::optional<std::string> key = FirstKey(path)) {
        // A key with surrounding spaces would lose them in the write; the
        // section list never holds one.
        TAVLO_FUZZ_CHECK(platform::ProfilePutString("Result", key->c_str(), "77", path.c_str()));
        TAVLO_FUZZ_CHECK(GetString("Result", key->c_str(), "missing", path) == "77");
        TAVLO_FUZZ_CHECK(ReadOthers(path) == before);
    }

    // The whole section written at once: it then reads as exactly that.
    const tavlo::SectionList written{"1", "5", "2", "0", "3", "999"};
    TAVLO_FUZZ_CHECK(platform::ProfilePutSection("Result",
                                                 "1=5\0"
                                                 "2=0\0"
                                                 "3=999\0",
                                                 path.c_str()));
    TAVLO_FUZZ_CHECK(tavlo::ReadProfileSection("Result", path) == written);
    TAVLO_FUZZ_CHECK(ReadOthers(path) == before);

    // The removal takes away the first section of the name, no more (a
    // hand-edited file may hold it twice) and nothing else.
    const std::size_t headers = ReadSectionNames(path).results;
    TAVLO_FUZZ_CHECK(headers > 0);
    TAVLO_FUZZ_CHECK(platform::ProfilePutSection("Result", nullptr, path.c_str()));
    TAVLO_FUZZ_CHECK(ReadSectionNames(path).results == headers - 1);
    TAVLO_FUZZ_CHECK(ReadOthers(path) == before);

    // Clearing the results: nothing of section Result may be read afterwards,
    // or results thought cleared would come back at the next start.
    TAVLO_FUZZ_CHECK(tavlo::SettingsFile(path).ClearResults());
    TAVLO_FUZZ_CHECK(GetSection("Result", path) == std::string("\0\0", 2));
    TAVLO_FUZZ_CHECK(!tavlo::ReadProfileSection("Result", path).has_value());
    TAVLO_FUZZ_CHECK(GetString("Result", ordinal.c_str(), "missing", path) == "missing");
    TAVLO_FUZZ_CHECK(ReadOthers(path) == before);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ScratchFile& scratch = ScratchFile::Instance();
    scratch.Write(data, size);

    // Reads cost little: each code page gets them all.
    for (const unsigned codePage : kCodePages) {
        platform::SetProfileCodePage(codePage);
        CheckReads(scratch.path());
    }
    // Edits flush the file to the disk; the input's length picks the code
    // page, so every page is reached.
    platform::SetProfileCodePage(kCodePages[size % kCodePages.size()]);
    CheckEdits(scratch.path());
    platform::SetProfileCodePage(platform::kCodePageUtf8);
    return 0;
}
