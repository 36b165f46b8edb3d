// Draws the range 0..999 out in the settings file of the given directory,
// continuing whatever drawing the file holds. After each draw has returned it
// prints "<ordinal> <number>" on a line of its own, so a test that kills it
// knows which draws completed.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "engine/draw_state.h"
#include "platform/random_source.h"
#include "settings/settings_file.h"

namespace {

bool WriteAll(const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, text.data() + done, text.size() - done);
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
        return 2;
    }
    tavlo::SettingsFile file(std::string(argv[1]) + "/Tavlo.ini");
    tavlo::platform::SystemRandomSource random;
    tavlo::DrawState state(file, random);
    state.Load();
    if (state.RangeMin() != 0 || state.RangeMax() != 999) {
        if (!state.ApplyRange(0, 999, "0", "999"))
            return 1;
    }
    while (!state.IsAllDrawn()) {
        const tavlo::DrawOutcome outcome = state.DrawNumber();
        if (!outcome.saved)
            return 1;
        // One write per line: a kill cannot interleave two draws' lines.
        if (!WriteAll(std::to_string(state.Count()) + " " + std::to_string(outcome.number) + "\n"))
            return 1;
    }
    return 0;
}
