#pragma once

#include <optional>
#include <string>

namespace tavlo {

// A record kept of what a drawing does, such as the journal an organiser may
// ask for. The draw state tells it of each event once the settings file's
// write for it is done, and whether that write stored it. A record never
// decides anything: whatever becomes of it, the drawing goes on.
class DrawLog {
public:
    virtual ~DrawLog() = default;

    // Start-up has read the settings file: the range and the count of draws.
    virtual void Opened(int rangeMin, int rangeMax, int draws) = 0;
    virtual void RangeSet(int rangeMin, int rangeMax, bool stored) = 0;
    virtual void Drawn(int ordinal, int number, bool stored) = 0;
    virtual void Cleared(int forgotten, bool stored) = 0;
    // A write stored what earlier, failed writes missed; `draws` is the count
    // the file now holds.
    virtual void CaughtUp(int draws) = 0;

    // What went wrong with the record, once per run: then the path of the
    // record's file, for a warning.
    virtual std::optional<std::string> TakeFailure() = 0;
};

}  // namespace tavlo
