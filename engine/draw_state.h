#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/draw_log.h"
#include "platform/random_source.h"
#include "settings/settings_file.h"

namespace tavlo {

// What became of a draw: the number, and whether it reached the settings file.
struct DrawOutcome {
    std::int16_t number = 0;
    bool saved = true;
};

// The program-wide draw state: the range, the numbers drawn in order, the
// flags of the numbers used, and the choice of the next number. main() owns
// the one instance and hands it to the windows; every change is written to
// the settings file at the moment it is made.
class DrawState {
public:
    DrawState(SettingsFile& file, platform::RandomSource& random);

    // -1 means not set.
    std::int16_t RangeMin() const { return m_rangeMin; }
    std::int16_t RangeMax() const { return m_rangeMax; }
    // Element k (1..n) is the number drawn at ordinal k; element 0 is no draw.
    const std::vector<std::int16_t>& Results() const { return m_results; }
    // Drawn()[x] is true once x has been drawn; indices 0..RangeMax.
    const std::vector<bool>& Drawn() const { return m_drawn; }

    // The count of draws, the highest ordinal.
    int Count() const { return static_cast<int>(m_results.size()) - 1; }
    // The size of the range; 0 when the range is not valid.
    int Size() const;
    bool IsRangeValid() const;
    // True when the range is valid and no number of it is left to draw: no
    // flag in the range is clear, or no further ordinal can be stored.
    bool IsAllDrawn() const;

    // Start-up: reads the range and the results from the settings file, sets
    // the flags of the numbers drawn and, with a valid range, reseeds the
    // random source.
    void Load();
    // Preconditions: IsRangeValid() and !IsAllDrawn(); when they do not hold,
    // nothing is drawn and the number is -1. The draw stands in memory even
    // when it could not be saved.
    DrawOutcome DrawNumber();
    // Forgets every draw, in memory and in the file. False when the file
    // could not be written.
    bool ResetResults();
    // Takes over a confirmed range, stores `fromText` "," `toText` as typed,
    // sizes the flags to the range and reseeds the random source. With
    // `clearResults` every draw is forgotten as well, and the file gets the
    // range and the clearing in one replace. False when the file could not be
    // written; the change holds in memory either way.
    bool ApplyRange(std::int16_t rangeMin, std::int16_t rangeMax, const std::string& fromText,
                    const std::string& toText, bool clearResults = false);

    // True when start-up found the settings file there but could not read it.
    bool IsFileUnreadable() const { return m_file.IsUnreadable(); }

    // True after a write failed and until one succeeds again; the next write
    // then carries the whole state.
    bool IsFileBehind() const { return m_fileBehind; }
    // Writes the whole state when the file is behind. True when the file is
    // up to date, at once when it was.
    bool CatchUp();
    // Called each time a write succeeds after one failed, whichever write it
    // is: what held the program for the file can let go.
    void SetCaughtUpListener(std::function<void()> listener) { m_caughtUp = std::move(listener); }

    // The full path of the settings file, for messages.
    std::string SettingsDisplayPath() const { return m_file.DisplayPath(); }

    // Tells `log` of every event from now on; null for none.
    void SetLog(DrawLog* log) { m_log = log; }
    // The path of the record's file once, after it first failed.
    std::optional<std::string> TakeLogFailure() { return m_log ? m_log->TakeFailure() : std::nullopt; }

private:
    void LoadRange();
    void LoadResults();
    // Sizes the flags to the range and sets those of every number the results
    // hold, the overwritten ones of a hand-edited file included.
    void FlagResults();
    int CountUndrawnInRange() const;
    void ForgetResults();
    void SetFlag(int number);
    // Runs `write` for a file that is up to date; when an earlier write failed,
    // writes the whole state instead, so the file catches up with memory. The
    // catch-up adds what the file lacks and puts right the draws of this run,
    // so nothing it holds beyond what start-up loaded is lost; only a clearing
    // not yet stored removes lines. Then tells the log of the event with
    // `record`, and of a catch-up that the write made.
    template <typename Write, typename Record>
    bool Persist(Write write, Record record);
    bool WriteWholeState();

    SettingsFile& m_file;
    platform::RandomSource& m_random;
    std::int16_t m_rangeMin = -1;
    std::int16_t m_rangeMax = -1;
    std::vector<std::int16_t> m_results{0};
    // Parallel to m_results: true where an ordinal holds a number that was
    // drawn or read from the file, false for the zeros of missing ordinals.
    std::vector<bool> m_recorded{false};
    // The first ordinal drawn by this run; those below it came from the file.
    std::size_t m_firstOwnOrdinal = 1;
    // Numbers a hand-edited file stored under an ordinal that a later entry
    // overwrote: start-up counts them as drawn, and so does a widening.
    std::vector<std::int16_t> m_shadowed;
    std::vector<bool> m_drawn;
    // The Range value as last stored or read, for writing the state back.
    std::string m_rangeText;
    // An earlier write failed: the file lacks something memory holds.
    bool m_fileBehind = false;
    // A clearing of the results has not reached the file yet.
    bool m_clearPending = false;
    DrawLog* m_log = nullptr;
    std::function<void()> m_caughtUp;
};

}  // namespace tavlo
