// The system random source the engine draws with.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/random_source.h"

namespace tavlo::platform {
namespace {

std::vector<float> Take(RandomSource& source, int count)
{
    std::vector<float> values;
    values.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        values.push_back(source.Next());
    return values;
}

TEST(RandomSourceTest, ValuesStayBelowOne)
{
    SystemRandomSource source;
    double sum = 0.0;
    float highest = 0.0f;
    constexpr int kCount = 1 << 20;
    for (int i = 0; i < kCount; ++i) {
        const float r = source.Next();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        highest = std::max(highest, r);
        sum += r;
    }
    // Values reach close to 1 and average about one half (the standard error
    // of the mean is below 0.0003).
    EXPECT_GT(highest, 0.999f);
    EXPECT_NEAR(sum / kCount, 0.5, 0.005);
}

TEST(RandomSourceTest, ReseedsInQuickSuccessionGiveDifferentSequences)
{
    SystemRandomSource first;
    SystemRandomSource second;
    first.Reseed();
    second.Reseed();
    const std::vector<float> a = Take(first, 8);
    EXPECT_NE(a, Take(second, 8));
    first.Reseed();
    const std::vector<float> b = Take(first, 8);
    first.Reseed();
    EXPECT_NE(b, Take(first, 8));
}

}  // namespace
}  // namespace tavlo::platform
