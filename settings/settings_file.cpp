#include "settings/settings_file.h"

#include <string_view>
#include <utility>

namespace tavlo {

namespace {

constexpr std::string_view kConditionSection = "Condition";
constexpr std::string_view kRangeKey = "Range";
constexpr std::string_view kResultSection = "Result";

}  // namespace

SettingsFile::SettingsFile(std::string path) : m_path(std::move(path)) {}

std::string SettingsFile::path() const
{
    return m_path.empty() ? GetProfilePath() : m_path;
}

std::string SettingsFile::ReadRange() const
{
    return ReadProfileString(kConditionSection, kRangeKey, "", m_path);
}

std::optional<SectionList> SettingsFile::ReadResults() const
{
    return ReadProfileSection(kResultSection, m_path);
}

bool SettingsFile::IsUnreadable() const
{
    return IsProfileUnreadable(m_path);
}

void SettingsFile::RemoveLeftovers() const
{
    RemoveProfileLeftovers(m_path);
}

bool SettingsFile::WriteRange(const std::string& rangeText) const
{
    return WriteProfileString(kConditionSection, kRangeKey, rangeText, m_path);
}

bool SettingsFile::WriteResult(int ordinal, int number) const
{
    return WriteProfileString(kResultSection, std::to_string(ordinal), std::to_string(number),
                              m_path);
}

bool SettingsFile::ClearResults() const
{
    // A removal takes only the first section of the name. A hand-edited file
    // may hold Result twice, and the second would then be read at the next
    // start as if the results had never been cleared.
    constexpr int kMaxSections = 1000;
    for (int pass = 0; pass < kMaxSections; ++pass) {
        if (!ClearProfileSection(kResultSection, m_path))
            return false;
        if (!ReadResults())
            return true;
    }
    return false;
}

bool SettingsFile::RewriteResults(const std::vector<std::int16_t>& results) const
{
    std::vector<bool> recorded(results.size(), true);
    if (!recorded.empty())
        recorded[0] = false;
    return RewriteResults(results, recorded);
}

bool SettingsFile::RewriteResults(const std::vector<std::int16_t>& results,
                                  const std::vector<bool>& recorded) const
{
    SectionList entries;
    for (std::size_t k = 0; k < results.size() && k < recorded.size(); ++k) {
        if (!recorded[k])
            continue;
        entries.push_back(std::to_string(k));
        entries.push_back(std::to_string(results[k]));
    }
    if (entries.empty())
        return ClearResults();
    return WriteProfileSection(kResultSection, entries, m_path);
}

bool SettingsFile::WriteState(const std::string& rangeText, bool clearResults,
                              const std::vector<std::int16_t>& results, const std::vector<bool>& recorded) const
{
    using Kind = ProfileChange::Kind;
    std::vector<ProfileChange> changes;
    // Removals first: where the platform writes change by change, a crash in
    // between then leaves the old range without results, never a new range
    // with the old results.
    if (clearResults)
        changes.push_back({Kind::RemoveSection, std::string(kResultSection), {}, {}});
    if (!rangeText.empty())
        changes.push_back({Kind::Store, std::string(kConditionSection), std::string(kRangeKey), rangeText});
    for (std::size_t k = 0; k < results.size() && k < recorded.size(); ++k) {
        if (recorded[k])
            changes.push_back(
                {Kind::StoreIfMissing, std::string(kResultSection), std::to_string(k), std::to_string(results[k])});
    }
    return WriteProfileChanges(changes, m_path);
}

}  // namespace tavlo
