#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/profile.h"

namespace tavlo {

// The program's settings file "Tavlo.ini": the range last confirmed (section
// Condition, key Range) and every number drawn since the last clearing
// (section Result, one key per ordinal). Each write reports whether it
// reached the disk, so a window can warn the user.
class SettingsFile {
public:
    // `path` empty: the default file beside the program.
    explicit SettingsFile(std::string path = {});

    // The full path of the file, for messages.
    std::string path() const;

    // The Range value as stored ("1,100"), or "" when there is none.
    std::string ReadRange() const;
    // The Result section's key/value list, or null when it is missing or empty.
    std::optional<SectionList> ReadResults() const;

    // True when the file is there but cannot be read: start-up then found no
    // range and no results, whatever it holds.
    bool IsUnreadable() const;

    // Removes what writes killed in the middle left beside the file. Only
    // while this process holds the instance lock.
    void RemoveLeftovers() const;

    bool WriteRange(const std::string& rangeText) const;
    bool WriteResult(int ordinal, int number) const;
    bool ClearResults() const;
    // Writes `results` (element k = number drawn at ordinal k, element 0 unused)
    // as the whole Result section, in one write of the file.
    bool RewriteResults(const std::vector<std::int16_t>& results) const;
    // The same, writing only the elements whose `recorded` flag is set (element
    // 0 included), so the zeros of missing ordinals stay missing. No element
    // recorded: the section is removed.
    bool RewriteResults(const std::vector<std::int16_t>& results,
                        const std::vector<bool>& recorded) const;

    // Brings the file up to a state in one replace: the range (unless empty);
    // every Result section removed when `clearResults`; then each recorded
    // result stored under its ordinal where the file lacks that ordinal. No
    // line the state was not given is dropped or changed.
    bool WriteState(const std::string& rangeText, bool clearResults,
                    const std::vector<std::int16_t>& results, const std::vector<bool>& recorded) const;

private:
    std::string m_path;  // empty: the default file
};

}  // namespace tavlo
