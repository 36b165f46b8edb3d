#include "settings/settings_file.h"

#include "settings/profile.h"

#include <limits>
#include <string_view>
#include <utility>

namespace tavlo {

namespace {

constexpr std::string_view kConditionSection = "Condition";
constexpr std::string_view kRangeKey = "Range";
constexpr std::string_view kResultSection = "Result";
// The highest number the three digit boxes can show.
constexpr int kMaxNumber = 999;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Reads a signed 16-bit decimal: optional blanks around, an optional sign,
// digits. Anything else, or a value out of range, gives nothing. Overlong
// digit strings stop early, so a hand-edited file cannot make this slow.
std::optional<std::int16_t> ParseInt16(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    bool negative = false;
    if (begin < end && (text[begin] == '+' || text[begin] == '-')) {
        negative = text[begin] == '-';
        ++begin;
    }
    if (begin == end)
        return std::nullopt;
    long value = 0;
    for (std::size_t i = begin; i < end; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 32768)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(value);
}

}  // namespace

SettingsFile::SettingsFile(const platform::HeldFolder& folder)
    : m_file(folder.File(kProfileFileName)), m_folder(&folder)
{
}

SettingsFile::SettingsFile(platform::FileRef file) : m_file(std::move(file)) {}

std::string SettingsFile::DisplayPath() const
{
    return m_folder != nullptr ? m_folder->DisplayPathTo(kProfileFileName) : m_file.name();
}

StoredRange SettingsFile::ReadRange() const
{
    StoredRange range;
    range.text = ReadProfileString(kConditionSection, kRangeKey, "", m_file);
    const std::string_view text = range.text;
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos)
        return range;
    const std::string_view rest = text.substr(comma + 1);
    const std::optional<std::int16_t> first = ParseInt16(text.substr(0, comma));
    const std::optional<std::int16_t> second = ParseInt16(rest.substr(0, rest.find(',')));
    // Half a range is no range. A bound beyond three digits cannot be shown
    // and the dialog never stores one.
    if (!first || !second || *first > kMaxNumber || *second > kMaxNumber)
        return range;
    range.from = *first;
    range.to = *second;
    return range;
}

std::vector<StoredResult> SettingsFile::ReadResults() const
{
    std::vector<StoredResult> entries;
    const std::optional<SectionList> list = ReadProfileSection(kResultSection, m_file);
    if (!list)
        return entries;
    for (std::size_t i = 0; i + 1 < list->size(); i += 2) {
        const std::optional<std::int16_t> ordinal = ParseInt16((*list)[i]);
        if (ordinal && *ordinal >= 0)
            entries.push_back({*ordinal, ParseInt16((*list)[i + 1])});
    }
    return entries;
}

bool SettingsFile::IsUnreadable() const
{
    return IsProfileUnreadable(m_file);
}

void SettingsFile::RemoveLeftovers() const
{
    RemoveProfileLeftovers(m_file);
}

bool SettingsFile::WriteRange(const std::string& rangeText) const
{
    return WriteProfileString(kConditionSection, kRangeKey, rangeText, m_file);
}

bool SettingsFile::WriteResult(int ordinal, int number) const
{
    return WriteProfileString(kResultSection, std::to_string(ordinal), std::to_string(number), m_file);
}

bool SettingsFile::ClearResults() const
{
    // Every section of the name: a hand-edited file may hold Result twice, and
    // the second would otherwise be read at the next start as if the results
    // had never been cleared.
    return ClearProfileSection(kResultSection, m_file);
}

bool SettingsFile::WriteState(const StateToWrite& state) const
{
    using Kind = ProfileChange::Kind;
    std::vector<ProfileChange> changes;
    // Removals first: where the platform writes change by change, a crash in
    // between then leaves the old range without results, never a new range
    // with the old results.
    if (state.clearResults)
        changes.push_back({Kind::ClearSection, std::string(kResultSection), {}, {}});
    if (!state.rangeText.empty())
        changes.push_back({Kind::Store, std::string(kConditionSection), std::string(kRangeKey), state.rangeText});
    for (const StateToWrite::Result& result : state.results)
        changes.push_back({result.drawnThisRun ? Kind::Store : Kind::StoreIfMissing, std::string(kResultSection),
                           std::to_string(result.ordinal), std::to_string(result.number)});
    return WriteProfileChanges(changes, m_file);
}

}  // namespace tavlo
