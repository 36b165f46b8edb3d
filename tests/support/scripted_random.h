#pragma once

#include <deque>

#include "platform/random_source.h"

namespace tavlo::test {

// Gives the values it was told, in order; 0 once they run out.
class ScriptedRandom final : public platform::RandomSource {
public:
    ScriptedRandom() = default;
    explicit ScriptedRandom(std::initializer_list<float> values) : m_values(values) {}

    void Push(float value) { m_values.push_back(value); }
    float Next() override
    {
        if (m_values.empty())
            return 0.0f;
        const float value = m_values.front();
        m_values.pop_front();
        return value;
    }
    void Reseed() override { ++reseeds; }

    int reseeds = 0;

private:
    std::deque<float> m_values;
};

}  // namespace tavlo::test
