#pragma once

#include <cstdint>
#include <random>

namespace tavlo::platform {

// Where the draw engine takes its random values from. Tests script exact values.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A uniformly distributed value r with 0 <= r < 1; never 1.
    virtual float Next() = 0;
    // Takes a fresh seed from the clock (and the system's entropy).
    virtual void Reseed() = 0;
};

class SystemRandomSource final : public RandomSource {
public:
    SystemRandomSource();
    float Next() override;
    void Reseed() override;

private:
    std::mt19937_64 m_engine;
    std::uint64_t m_reseeds = 0;
};

}  // namespace tavlo::platform
