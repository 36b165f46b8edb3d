#pragma once

#include <string>
#include <string_view>

// One line of a drawing's journal, and where a journal's chain stands:
//
//   <sequence> <local time, ISO 8601 with its offset> <EVENT> <fields> prev=<hash> hash=<hash>
//
// where `hash` is the SHA-256, in lowercase hex, of the line's text before
// " hash=", and `prev` that of the line before (64 zeros on the first line).
namespace tavlo::journal {

inline constexpr std::string_view kNoHash = "0000000000000000000000000000000000000000000000000000000000000000";

// The SHA-256 of `text` in lowercase hex.
std::string Sha256Hex(std::string_view text);

// Where the chain of a journal stands after its last whole line.
struct ChainEnd {
    long long sequence = 0;     // of the last whole line; 0 in a new journal
    std::string hash{kNoHash};  // of the last whole line
    bool tornAfter = false;     // a crash cut the line after it
    bool unreadable = false;    // the last whole line is no journal line
};

// Reads the chain's end from the last bytes of a journal (`end`: enough of its
// end to hold its last two lines).
ChainEnd FindChainEnd(std::string_view end);

// The whole line for `event` with `fields` (space-separated key=value pairs),
// stamped with `time`, following `previous`; without its line end.
std::string MakeLine(long long sequence, std::string_view time, std::string_view event, std::string_view fields,
                     std::string_view previous);

}  // namespace tavlo::journal
