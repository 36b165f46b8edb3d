// Arbitrary bytes as Tavlo.ini, then the main window's start-up (LoadRange,
// EditRange's ResizeDrawn and Reseed, LoadResults) and draws until the range
// is drawn out. Every number drawn must lie in the range, must not have been
// drawn before in this run nor stand in the file's results, and must reach
// the file: a fresh start-up from the file sees the same state.
//
// Input: byte 0 is the count of random values, byte 1 holds options (bit 0:
// clear the results afterwards and draw once more), the last 2 bytes per
// random value are those values, and everything between is the file.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/draw_state.h"
#include "fuzz_support.h"
#include "platform/random_source.h"
#include "settings/profile.h"
#include "settings/settings_file.h"

namespace {

using tavlo::DrawState;
using tavlo::fuzz::ScratchFile;

// A hand-edited file may set a range up to 32767 wide; each draw rewrites
// and flushes the file, so wider ranges are left out to keep runs short.
constexpr int kMaxRangeSize = 2000;

// The random values of the input in turn, over again once they run out; 0
// without any. The highest value stands for the float just below 1.
class InputRandom final : public tavlo::platform::RandomSource {
public:
    InputRandom(const std::uint8_t* data, std::size_t count) : m_data(data), m_count(count) {}

    float Next() override
    {
        if (m_count == 0)
            return 0.0f;
        const std::uint8_t* at = m_data + 2 * (m_next++ % m_count);
        const unsigned value = at[0] | (unsigned{at[1]} << 8);
        if (value == 0xFFFF)
            return std::nextafter(1.0f, 0.0f);
        return static_cast<float>(value) / 65536.0f;
    }
    void Reseed() override {}

private:
    const std::uint8_t* m_data;
    std::size_t m_count;
    std::size_t m_next = 0;
};

// The main window's start-up order.
void StartUp(DrawState& state)
{
    state.LoadRange();
    state.ResizeDrawn();
    if (state.IsRangeValid())
        state.Reseed();
    state.LoadResults();
}

// The numbers the file's Result section holds in plain form under a plain
// ordinal: whatever else the engine makes of a hand-edited file, these were
// drawn and must never come up again.
std::set<int> StoredNumbers(const std::string& path)
{
    std::set<int> numbers;
    const std::optional<tavlo::SectionList> list = tavlo::ReadProfileSection("Result", path);
    if (!list)
        return numbers;
    for (std::size_t i = 0; i + 1 < list->size(); i += 2) {
        const std::optional<int> ordinal = tavlo::fuzz::PlainNumber((*list)[i]);
        const std::optional<int> number = tavlo::fuzz::PlainNumber((*list)[i + 1]);
        if (ordinal && number)
            numbers.insert(*number);
    }
    return numbers;
}

// A fresh start-up from the file must see what memory holds.
void CheckFileMatches(const DrawState& state, const std::string& path)
{
    tavlo::SettingsFile file(path);
    InputRandom noRandom(nullptr, 0);
    DrawState reloaded(file, noRandom);
    StartUp(reloaded);
    TAVLO_FUZZ_CHECK(reloaded.RangeMin() == state.RangeMin());
    TAVLO_FUZZ_CHECK(reloaded.RangeMax() == state.RangeMax());
    TAVLO_FUZZ_CHECK(reloaded.Results() == state.Results());
    TAVLO_FUZZ_CHECK(reloaded.Drawn() == state.Drawn());
}

// One draw, checked. Returns the number drawn.
int CheckedDraw(DrawState& state, std::vector<bool>& drawnInRun, const std::set<int>& stored)
{
    const int countBefore = state.Count();
    const tavlo::DrawOutcome outcome = state.DrawNumber();
    const int x = outcome.number;
    TAVLO_FUZZ_CHECK(outcome.saved);
    TAVLO_FUZZ_CHECK(x >= state.RangeMin() && x <= state.RangeMax());
    TAVLO_FUZZ_CHECK(!drawnInRun[x]);
    TAVLO_FUZZ_CHECK(stored.count(x) == 0);
    TAVLO_FUZZ_CHECK(state.Count() == countBefore + 1);
    TAVLO_FUZZ_CHECK(state.Results().back() == x);
    TAVLO_FUZZ_CHECK(state.Drawn().at(x));
    drawnInRun[x] = true;
    return x;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::size_t valueCount = data[0];
    const bool clearAfterwards = (data[1] & 1) != 0;
    data += 2;
    size -= 2;
    const std::size_t randomBytes = std::min(size, 2 * valueCount) / 2 * 2;
    const std::size_t fileSize = size - randomBytes;

    const ScratchFile& scratch = ScratchFile::Instance();
    scratch.Write(data, fileSize);
    tavlo::SettingsFile file(scratch.path());
    InputRandom random(data + fileSize, randomBytes / 2);
    DrawState state(file, random);
    StartUp(state);
    if (state.IsRangeValid() && state.Size() > kMaxRangeSize)
        return 0;

    const std::set<int> stored = StoredNumbers(scratch.path());
    std::vector<bool> drawnInRun(32768, false);
    int draws = 0;
    while (state.IsRangeValid() && !state.IsAllDrawn()) {
        CheckedDraw(state, drawnInRun, stored);
        // Distinct numbers of the range: the loop cannot outrun it.
        TAVLO_FUZZ_CHECK(++draws <= state.Size());
    }
    CheckFileMatches(state, scratch.path());

    if (clearAfterwards) {
        TAVLO_FUZZ_CHECK(state.ResetResults());
        TAVLO_FUZZ_CHECK(state.Count() == 0);
        TAVLO_FUZZ_CHECK(!tavlo::ReadProfileSection("Result", scratch.path()).has_value());
        CheckFileMatches(state, scratch.path());
        if (state.IsRangeValid()) {
            TAVLO_FUZZ_CHECK(!state.IsAllDrawn());
            std::fill(drawnInRun.begin(), drawnInRun.end(), false);
            CheckedDraw(state, drawnInRun, {});
            CheckFileMatches(state, scratch.path());
        }
    }
    return 0;
}
