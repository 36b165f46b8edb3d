// Whether the draws are fair, with the real random source: chi-square tests
// at a bound so strict (p < 1e-6) that chance does not fail them, while an
// off-by-one in the choice or a biased walk stands out by far.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "engine/draw_state.h"
#include "engine_test_support.h"
#include "platform/random_source.h"

namespace tavlo {
namespace {

// Regularized upper incomplete gamma function Q(a, x).
double UpperGammaQ(double a, double x)
{
    if (x <= 0.0)
        return 1.0;
    const double logPrefix = -x + a * std::log(x) - std::lgamma(a);
    if (x < a + 1.0) {
        // The series for the lower function converges fast here.
        double term = 1.0 / a;
        double sum = term;
        for (int n = 1; n < 1000; ++n) {
            term *= x / (a + n);
            sum += term;
            if (std::fabs(term) < std::fabs(sum) * 1e-16)
                break;
        }
        return 1.0 - sum * std::exp(logPrefix);
    }
    // The continued fraction for the upper function, by Lentz's method.
    const double tiny = 1e-300;
    double b = x + 1.0 - a;
    double c = 1.0 / tiny;
    double d = 1.0 / b;
    double fraction = d;
    for (int i = 1; i < 1000; ++i) {
        const double an = -i * (i - a);
        b += 2.0;
        d = an * d + b;
        if (std::fabs(d) < tiny)
            d = tiny;
        c = b + an / c;
        if (std::fabs(c) < tiny)
            c = tiny;
        d = 1.0 / d;
        const double step = d * c;
        fraction *= step;
        if (std::fabs(step - 1.0) < 1e-16)
            break;
    }
    return std::exp(logPrefix) * fraction;
}

// The value a chi-square statistic with `df` degrees of freedom exceeds with
// probability `p`.
double ChiSquareCritical(int df, double p)
{
    double low = 0.0;
    double high = df + 20.0;
    while (UpperGammaQ(df / 2.0, high / 2.0) > p)
        high *= 2.0;
    for (int i = 0; i < 200; ++i) {
        const double mid = (low + high) / 2.0;
        if (UpperGammaQ(df / 2.0, mid / 2.0) > p)
            low = mid;
        else
            high = mid;
    }
    return (low + high) / 2.0;
}

template <std::size_t N>
double ChiSquare(const std::array<long, N>& counts, double expected)
{
    double sum = 0.0;
    for (const long count : counts)
        sum += (static_cast<double>(count) - expected) * (static_cast<double>(count) - expected) / expected;
    return sum;
}

TEST(EngineFairnessTest, CriticalValuesAreRight)
{
    EXPECT_NEAR(ChiSquareCritical(1, 1e-6), 23.928, 0.001);
    EXPECT_NEAR(ChiSquareCritical(2, 1e-6), 27.631, 0.001);  // -2 ln p exactly
    EXPECT_NEAR(ChiSquareCritical(9, 1e-7), 50.172, 0.001);
    EXPECT_NEAR(ChiSquareCritical(99, 1e-6), 180.792, 0.001);
}

class FairnessTest : public ::testing::Test {
protected:
    void NewDrawing(std::int16_t rangeMax) { m_state.ApplyRange(0, rangeMax, "0", std::to_string(rangeMax), true); }

    test::TempDir m_dir;
    SettingsFile m_file{m_dir.file("Tavlo.ini")};
    platform::SystemRandomSource m_random;
    DrawState m_state{m_file, m_random};
};

TEST_F(FairnessTest, FirstNumberIsUniform)
{
    constexpr int kTrials = 30000;
    std::array<long, 100> counts{};
    for (int trial = 0; trial < kTrials; ++trial) {
        NewDrawing(99);
        const int x = m_state.DrawNumber().number;
        ASSERT_GE(x, 0);
        ASSERT_LE(x, 99);
        ++counts[x];
    }
    EXPECT_LT(ChiSquare(counts, kTrials / 100.0), ChiSquareCritical(99, 1e-6));
}

// Each number's position in a full drawing of 0..9 is uniform; ten tests,
// each at a tenth of the bound.
TEST_F(FairnessTest, PositionsInAFullDrawingAreUniform)
{
    constexpr int kTrials = 3000;
    std::array<std::array<long, 10>, 10> positions{};
    for (int trial = 0; trial < kTrials; ++trial) {
        NewDrawing(9);
        for (int position = 0; position < 10; ++position) {
            const int x = m_state.DrawNumber().number;
            ASSERT_GE(x, 0);
            ASSERT_LE(x, 9);
            ++positions[x][position];
        }
        ASSERT_TRUE(m_state.IsAllDrawn());
    }
    const double critical = ChiSquareCritical(9, 1e-7);
    for (int x = 0; x < 10; ++x)
        EXPECT_LT(ChiSquare(positions[x], kTrials / 10.0), critical) << "number " << x;
}

}  // namespace
}  // namespace tavlo
