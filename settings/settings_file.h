#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/held_folder.h"

namespace tavlo {

// The Range value as stored, with the bounds it holds.
struct StoredRange {
    std::string text;  // as stored; "" when there is none
    // -1 each when the text holds no range. Both bounds are read or neither,
    // and a bound beyond three digits reads as no range.
    std::int16_t from = -1;
    std::int16_t to = -1;

    bool operator==(const StoredRange&) const = default;
};

// One entry of the Result section: an ordinal of 0 or more and the number
// stored under it, none when the value is not a number.
struct StoredResult {
    std::int16_t ordinal = 0;
    std::optional<std::int16_t> number;

    bool operator==(const StoredResult&) const = default;
};

// What a catch-up write brings the file up to: the whole state in memory.
struct StateToWrite {
    std::string rangeText;      // the Range value; "" leaves the file's as it is
    bool clearResults = false;  // every Result section removed first
    struct Result {
        int ordinal = 0;
        int number = 0;
        // A draw of this run, stored whatever the file holds under its
        // ordinal (a write that failed half-way may have left it cut); one
        // read at start-up is stored only where the file lacks its ordinal.
        bool drawnThisRun = false;
    };
    std::vector<Result> results;
};

// The program's settings file "Tavlo.ini": the range last confirmed (section
// Condition, key Range) and every number drawn since the last clearing
// (section Result, one key per ordinal). Each write reports whether it
// reached the disk, so a window can warn the user.
class SettingsFile {
public:
    // The file "Tavlo.ini" in `folder`, the folder the program started in,
    // for as long as the program runs; `folder` must outlive the file.
    explicit SettingsFile(const platform::HeldFolder& folder);
    // The file `file`, named by its path in tests and tools.
    explicit SettingsFile(platform::FileRef file);

    // The full path of the file as the system spells it now, for messages.
    std::string DisplayPath() const;
    // The file as the file calls reach it.
    const platform::FileRef& File() const { return m_file; }

    StoredRange ReadRange() const;
    // The Result section's entries in file order; an entry whose key is not an
    // ordinal is left out.
    std::vector<StoredResult> ReadResults() const;

    // True when the file is there but cannot be read: start-up then found no
    // range and no results, whatever it holds.
    bool IsUnreadable() const;

    // Removes what writes killed in the middle left beside the file. Only
    // while this process holds the instance lock.
    void RemoveLeftovers() const;

    bool WriteRange(const std::string& rangeText) const;
    bool WriteResult(int ordinal, int number) const;
    bool ClearResults() const;

    // Brings the file up to `state` in one replace where the platform can.
    // No line the state does not name is dropped or changed.
    bool WriteState(const StateToWrite& state) const;

private:
    platform::FileRef m_file;  // what the file calls take
    const platform::HeldFolder* m_folder = nullptr;
};

}  // namespace tavlo
