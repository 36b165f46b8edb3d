// Arbitrary bytes as Tavlo.ini, then the start-up's Load and draws until the
// range is drawn out, then maybe a change of range and a clearing, as the condition
// dialog and the main window make them. Every number drawn must lie in the
// range, must not have been drawn since the last clearing nor stand in the
// file's results, and must reach the file: a fresh start-up from the file
// sees the same state.
//
// Input: byte 0 is the count of random values; byte 1 holds options (bit 0:
// clear the results at the end and draw once more; bit 1: change the range
// after the first drawing, to byte 2 .. byte 2 + byte 3; bit 2: clear the
// results with that change even when it widens the range); the last 2 bytes
// per random value are those values, and everything between is the file.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>
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

// The numbers of the file's Result section that must never come up again,
// read after start-up. Only entries in plain form under a plain ordinal
// count: whatever else the engine makes of a hand-edited file, these were
// drawn. Such a number is flagged when start-up finds it within the range;
// when it stands in Results, it stays barred after any widening too. A value
// that a later entry of the same ordinal overwrote and that lay outside the
// range at start-up may come again.
std::set<int> StoredNumbers(const DrawState& state, const std::string& path)
{
    std::set<int> numbers;
    const std::optional<tavlo::SectionList> list = tavlo::ReadProfileSection("Result", path);
    if (!list)
        return numbers;
    const std::vector<std::int16_t>& results = state.Results();
    for (std::size_t i = 0; i + 1 < list->size(); i += 2) {
        const std::optional<int> ordinal = tavlo::fuzz::PlainNumber((*list)[i]);
        const std::optional<int> number = tavlo::fuzz::PlainNumber((*list)[i + 1]);
        if (!ordinal || !number)
            continue;
        const bool inRange = static_cast<std::size_t>(*number) < state.Drawn().size();
        const bool inResults = static_cast<std::size_t>(*ordinal) < results.size() && results[*ordinal] == *number;
        if (inRange || inResults)
            numbers.insert(*number);
    }
    return numbers;
}

// A fresh start-up from the file must see what memory holds. It may flag
// more: a value that a later entry of the same ordinal overwrote is flagged
// by every start-up that finds it in the range, but not by a widening.
void CheckFileMatches(const DrawState& state, const std::string& path)
{
    tavlo::SettingsFile file(path);
    InputRandom noRandom(nullptr, 0);
    DrawState reloaded(file, noRandom);
    reloaded.Load();
    TAVLO_FUZZ_CHECK(reloaded.RangeMin() == state.RangeMin());
    TAVLO_FUZZ_CHECK(reloaded.RangeMax() == state.RangeMax());
    TAVLO_FUZZ_CHECK(reloaded.Results() == state.Results());
    const std::vector<bool>& flags = state.Drawn();
    TAVLO_FUZZ_CHECK(reloaded.Drawn().size() == flags.size());
    for (std::size_t x = 0; x < flags.size(); ++x)
        TAVLO_FUZZ_CHECK(!flags[x] || reloaded.Drawn()[x]);
}

// The draws of one run and what they must never repeat.
class Drawing {
public:
    Drawing(DrawState& state, std::set<int> stored) : m_state(state), m_stored(std::move(stored)) {}

    void DrawOne()
    {
        const int countBefore = m_state.Count();
        const tavlo::DrawOutcome outcome = m_state.DrawNumber();
        const int x = outcome.number;
        TAVLO_FUZZ_CHECK(outcome.saved);
        TAVLO_FUZZ_CHECK(x >= m_state.RangeMin() && x <= m_state.RangeMax());
        TAVLO_FUZZ_CHECK(!m_drawn[x]);
        TAVLO_FUZZ_CHECK(m_stored.count(x) == 0);
        TAVLO_FUZZ_CHECK(m_state.Count() == countBefore + 1);
        TAVLO_FUZZ_CHECK(m_state.Results().back() == x);
        TAVLO_FUZZ_CHECK(m_state.Drawn().at(x));
        m_drawn[x] = true;
    }

    // Draws until the engine has nothing left to give.
    void DrawOut()
    {
        int draws = 0;
        while (m_state.IsRangeValid() && !m_state.IsAllDrawn()) {
            DrawOne();
            // Distinct numbers of the range: the loop cannot outrun it.
            TAVLO_FUZZ_CHECK(++draws <= m_state.Size());
        }
    }

    // After the results were cleared, every number may come again.
    void Forget()
    {
        m_stored.clear();
        std::fill(m_drawn.begin(), m_drawn.end(), false);
    }

private:
    DrawState& m_state;
    std::set<int> m_stored;
    std::vector<bool> m_drawn = std::vector<bool>(32768, false);
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    const std::size_t valueCount = data[0];
    const bool clearAfterwards = (data[1] & 1) != 0;
    const bool changeRange = (data[1] & 2) != 0;
    const bool clearWithChange = (data[1] & 4) != 0;
    const int newMin = data[2];
    const int newMax = data[2] + data[3];
    data += 4;
    size -= 4;
    const std::size_t randomBytes = std::min(size, 2 * valueCount) / 2 * 2;
    const std::size_t fileSize = size - randomBytes;

    const ScratchFile& scratch = ScratchFile::Instance();
    scratch.Write(data, fileSize);
    tavlo::SettingsFile file(scratch.path());
    InputRandom random(data + fileSize, randomBytes / 2);
    DrawState state(file, random);
    state.Load();
    if (state.IsRangeValid() && state.Size() > kMaxRangeSize)
        return 0;

    Drawing drawing{state, StoredNumbers(state, scratch.path())};
    drawing.DrawOut();
    CheckFileMatches(state, scratch.path());

    if (changeRange) {
        // The condition dialog's OK: a narrowed range always loses the
        // results, a wider one only when the user asks for it.
        const bool narrowed = state.IsRangeValid() && (newMin > state.RangeMin() || newMax < state.RangeMax());
        const bool clear = narrowed || clearWithChange;
        TAVLO_FUZZ_CHECK(state.ApplyRange(static_cast<std::int16_t>(newMin), static_cast<std::int16_t>(newMax),
                                          std::to_string(newMin), std::to_string(newMax), clear));
        if (clear)
            drawing.Forget();
        CheckFileMatches(state, scratch.path());
        drawing.DrawOut();
        CheckFileMatches(state, scratch.path());
    }

    if (clearAfterwards) {
        TAVLO_FUZZ_CHECK(state.ResetResults());
        TAVLO_FUZZ_CHECK(state.Count() == 0);
        TAVLO_FUZZ_CHECK(!tavlo::ReadProfileSection("Result", scratch.path()).has_value());
        drawing.Forget();
        CheckFileMatches(state, scratch.path());
        if (state.IsRangeValid()) {
            TAVLO_FUZZ_CHECK(!state.IsAllDrawn());
            drawing.DrawOne();
            CheckFileMatches(state, scratch.path());
        }
    }
    return 0;
}
