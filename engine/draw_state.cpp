#include "engine/draw_state.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace tavlo {

namespace {

// The highest ordinal the file can hold: a key must read back as a 16-bit value.
constexpr int kMaxOrdinal = std::numeric_limits<std::int16_t>::max();

}  // namespace

DrawState::DrawState(SettingsFile& file, platform::RandomSource& random) : m_file(file), m_random(random) {}

bool DrawState::IsRangeValid() const
{
    return m_rangeMin >= 0 && m_rangeMax >= 0 && m_rangeMin <= m_rangeMax;
}

int DrawState::Size() const
{
    if (!IsRangeValid())
        return 0;
    return int{m_rangeMax} - int{m_rangeMin} + 1;
}

int DrawState::CountUndrawnInRange() const
{
    int count = 0;
    for (int x = m_rangeMin; x <= m_rangeMax; ++x) {
        if (static_cast<std::size_t>(x) >= m_drawn.size() || !m_drawn[x])
            ++count;
    }
    return count;
}

bool DrawState::IsAllDrawn() const
{
    if (!IsRangeValid())
        return false;
    return Count() >= kMaxOrdinal || CountUndrawnInRange() == 0;
}

void DrawState::SetFlag(int number)
{
    if (number >= 0 && static_cast<std::size_t>(number) < m_drawn.size())
        m_drawn[number] = true;
}

void DrawState::Load()
{
    LoadRange();
    LoadResults();
    FlagResults();
    if (IsRangeValid())
        m_random.Reseed();
    if (m_log)
        m_log->Opened(m_rangeMin, m_rangeMax, Count());
}

void DrawState::LoadRange()
{
    StoredRange range = m_file.ReadRange();
    m_rangeMin = range.from;
    m_rangeMax = range.to;
    m_rangeText = std::move(range.text);
}

void DrawState::LoadResults()
{
    m_results.assign(1, 0);
    m_recorded.assign(1, false);
    m_shadowed.clear();
    for (const StoredResult& entry : m_file.ReadResults()) {
        // An ordinal counts even when its number cannot be read, so that the
        // next draw goes past every ordinal in the file and overwrites none.
        const auto index = static_cast<std::size_t>(entry.ordinal);
        if (index >= m_results.size()) {
            m_results.resize(index + 1, 0);
            m_recorded.resize(index + 1, false);
        }
        if (!entry.number)
            continue;
        const std::int16_t number = *entry.number;
        if (m_recorded[index] && m_results[index] != number)
            m_shadowed.push_back(m_results[index]);
        m_results[index] = number;
        m_recorded[index] = true;
    }
    m_firstOwnOrdinal = m_results.size();
}

void DrawState::FlagResults()
{
    m_drawn.assign(m_rangeMax < 0 ? 0 : static_cast<std::size_t>(m_rangeMax) + 1, false);
    // A stored number that lay above an earlier, narrower range is flagged
    // too: once the range takes it in, it must not come up a second time.
    for (std::size_t k = 0; k < m_results.size(); ++k) {
        if (m_recorded[k])
            SetFlag(m_results[k]);
    }
    for (const std::int16_t number : m_shadowed)
        SetFlag(number);
}

DrawOutcome DrawState::DrawNumber()
{
    if (!IsRangeValid())
        return {-1, true};
    const int n = Count();
    if (n >= kMaxOrdinal)
        return {-1, true};
    // U is the count of clear flags in the range: S - n for every file the
    // program writes, and still exact for a hand-edited one that holds
    // numbers outside the range or one number twice.
    const int undrawn = CountUndrawnInRange();
    if (undrawn <= 0)
        return {-1, true};

    const float r = m_random.Next();
    const double scaled = std::floor(static_cast<double>(r) * undrawn + 1.0);
    int k = static_cast<int>(std::clamp(scaled, 1.0, static_cast<double>(undrawn)));

    int number = m_rangeMin;
    for (int x = m_rangeMin; x <= m_rangeMax; ++x) {
        if (!m_drawn[x] && --k == 0) {
            number = x;
            break;
        }
    }

    m_results.push_back(static_cast<std::int16_t>(number));
    m_recorded.push_back(true);
    m_drawn[number] = true;

    const int ordinal = Count();
    const bool saved = Persist([&] { return m_file.WriteResult(ordinal, number); },
                               [&](DrawLog& log, bool stored) { log.Drawn(ordinal, number, stored); });
    return {static_cast<std::int16_t>(number), saved};
}

void DrawState::ForgetResults()
{
    m_results.assign(1, 0);
    m_recorded.assign(1, false);
    m_shadowed.clear();
    m_firstOwnOrdinal = 1;
    FlagResults();
    m_clearPending = true;
}

bool DrawState::ResetResults()
{
    const int forgotten = Count();
    ForgetResults();
    return Persist([&] { return m_file.ClearResults(); },
                   [&](DrawLog& log, bool stored) { log.Cleared(forgotten, stored); });
}

bool DrawState::ApplyRange(std::int16_t rangeMin, std::int16_t rangeMax, const std::string& fromText,
                           const std::string& toText, bool clearResults)
{
    m_rangeMin = rangeMin;
    m_rangeMax = rangeMax;
    m_rangeText = fromText + "," + toText;
    const int forgotten = clearResults ? Count() : 0;
    if (clearResults)
        ForgetResults();
    else
        FlagResults();
    if (IsRangeValid())
        m_random.Reseed();
    return Persist([&] { return clearResults ? WriteWholeState() : m_file.WriteRange(m_rangeText); },
                   [&](DrawLog& log, bool stored) {
                       log.RangeSet(rangeMin, rangeMax, stored);
                       // The first range clears as a matter of form.
                       if (forgotten > 0)
                           log.Cleared(forgotten, stored);
                   });
}

bool DrawState::CatchUp()
{
    return Persist([] { return true; }, [](DrawLog&, bool) {});
}

template <typename Write, typename Record>
bool DrawState::Persist(Write write, Record record)
{
    const bool wasBehind = m_fileBehind;
    const bool stored = wasBehind ? WriteWholeState() : write();
    m_fileBehind = !stored;
    if (stored)
        m_clearPending = false;
    if (m_log)
        record(*m_log, stored);
    if (wasBehind && stored) {
        if (m_log)
            m_log->CaughtUp(Count());
        if (m_caughtUp)
            m_caughtUp();
    }
    return stored;
}

bool DrawState::WriteWholeState()
{
    StateToWrite state{m_rangeText, m_clearPending, {}};
    for (std::size_t k = 0; k < m_results.size(); ++k) {
        if (m_recorded[k])
            state.results.push_back({static_cast<int>(k), m_results[k], k >= m_firstOwnOrdinal});
    }
    return m_file.WriteState(state);
}

}  // namespace tavlo
