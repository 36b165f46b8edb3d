#include "platform/random_source.h"

#include <chrono>
#include <cstdint>

namespace tavlo::platform {

SystemRandomSource::SystemRandomSource()
{
    Reseed();
}

float SystemRandomSource::Next()
{
    // 24 bits fill a float's mantissa exactly; a wider value could round up
    // to 1.0 on the way to float.
    const std::uint64_t bits = m_engine() >> 40;
    return static_cast<float>(bits) * 0x1p-24f;
}

void SystemRandomSource::Reseed()
{
    // The clock alone repeats when two reseeds fall in the same tick, so the
    // system's entropy and a running count go into the seed as well.
    const auto ticks = static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
    std::random_device entropy;
    ++m_reseeds;
    std::seed_seq seed{static_cast<std::uint32_t>(ticks),
                       static_cast<std::uint32_t>(ticks >> 32),
                       entropy(),
                       entropy(),
                       entropy(),
                       entropy(),
                       static_cast<std::uint32_t>(m_reseeds)};
    m_engine.seed(seed);
}

}  // namespace tavlo::platform
