#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/draw_log.h"
#include "journal/journal_line.h"
#include "platform/file_ref.h"

namespace tavlo {

// The journal of a drawing, "Tavlo.log" beside the settings file, kept only
// where the organiser asked for it by making that file before the program
// started. One line per event, each chained to the one before by its
// SHA-256, appended and flushed right after the settings file's write: a
// clearing followed by new draws, or a settings file changed between two
// runs (one run's CLOSE against the next one's OPEN), is plain to anyone who
// checks the chain. Nothing is read back but the last line, to go on with
// the chain; the settings file stays the program's only state.
class Journal final : public DrawLog {
public:
    // The journal's name beside the settings file.
    static constexpr std::string_view kFileName = "Tavlo.log";

    // The journal `journal` beside the settings file `settings`, when it
    // exists; none otherwise. `displayPath`: the journal's path for messages.
    static std::unique_ptr<Journal> IfAsked(platform::FileRef journal, platform::FileRef settings,
                                            std::string displayPath);
    // Writes CLOSE, with the settings file as last written.
    ~Journal() override;
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    void Opened(int rangeMin, int rangeMax, int draws) override;
    void RangeSet(int rangeMin, int rangeMax, bool stored) override;
    void Drawn(int ordinal, int number, bool stored) override;
    void Cleared(int forgotten, bool stored) override;
    void CaughtUp(int draws) override;
    std::optional<std::string> TakeFailure() override;

private:
    Journal(platform::FileRef journal, platform::FileRef settings, std::string displayPath);
    // Appends one line; after a failure, nothing more this run.
    void Append(std::string_view event, std::string fields);
    // The SHA-256 of the settings file as it is now, or what keeps it from one.
    std::string SettingsHash() const;

    platform::FileRef m_file;
    platform::FileRef m_settings;
    std::string m_displayPath;
    journal::ChainEnd m_chain;
    bool m_stopped = false;   // nothing more is written this run
    bool m_troubled = false;  // something to tell the organiser
    bool m_reported = false;  // and it has been told
};

}  // namespace tavlo
