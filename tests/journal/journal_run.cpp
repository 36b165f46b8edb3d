// One run of a drawing with its journal, without a window, in the working
// folder (Tavlo.ini, and Tavlo.log where it exists). The steps are the
// arguments: "range=<from>,<to>", "draw", "clear".
//
//   tavlo_journal_run range=1,30 draw draw clear draw
#include <filesystem>
#include <memory>
#include <string>

#include "engine/draw_state.h"
#include "journal/journal.h"
#include "platform/random_source.h"
#include "settings/settings_file.h"

int main(int argc, char* argv[])
{
    // Full paths: Windows' profile functions look for a bare file name in
    // the Windows folder.
    const std::string ini = std::filesystem::absolute("Tavlo.ini").string();
    const std::string log = std::filesystem::absolute("Tavlo.log").string();
    tavlo::SettingsFile file(ini);
    tavlo::platform::SystemRandomSource random;
    tavlo::DrawState state(file, random);
    const std::unique_ptr<tavlo::Journal> journal = tavlo::Journal::IfAsked(log, ini, log);
    state.SetLog(journal.get());
    state.Load();
    for (int i = 1; i < argc; ++i) {
        const std::string step = argv[i];
        if (step == "draw") {
            state.DrawNumber();
        } else if (step == "clear") {
            state.ResetResults();
        } else if (step.rfind("range=", 0) == 0) {
            const std::string from = step.substr(6, step.find(',') - 6);
            const std::string to = step.substr(step.find(',') + 1);
            state.ApplyRange(static_cast<std::int16_t>(std::stoi(from)), static_cast<std::int16_t>(std::stoi(to)), from,
                             to);
        } else {
            return 2;
        }
    }
    return journal && state.TakeLogFailure() ? 1 : 0;
}
