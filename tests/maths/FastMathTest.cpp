#include "maths/FastMath.h"
#include "maths/AccuracySweep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <utility>

namespace Korvatune {
namespace {

constexpr double kBudgetUlps = 3.0;

using FastMathAccuracy = testing::AccuracySweep;

// Spacing of the floats around the exact value, denormals included.
double floatUlp(double exact) {
    int exponent = 0;
    std::frexp(std::fabs(exact), &exponent);
    return std::ldexp(1.0, std::max(exponent - 24, -149));
}

double ulpError(float approximation, double exact) {
    if (std::isinf(exact)) {
        return approximation == static_cast<float>(exact) ? 0.0 : HUGE_VAL;
    }
    return std::fabs(static_cast<double>(approximation) - exact) / floatUlp(exact);
}

using Worst = testing::Worst<float>;

using FloatFunction = std::function<float(float)>;
using ExactFunction = std::function<double(double)>;

// Every `stride`-th float from low to high (both ends included), plus every float within
// `window` steps of each edge given.
Worst sweep(const FloatFunction& approximate, const ExactFunction& exact, float low, float high,
            std::uint32_t stride, std::initializer_list<float> edges, std::uint32_t window) {
    Worst worst;
    auto check = [&](float x) {
        worst.take(ulpError(approximate(x), exact(static_cast<double>(x))), x);
    };
    // Ordered walk over the float line: negative floats step down in bits as they rise.
    auto key = [](float x) {
        const auto bits = std::bit_cast<std::int32_t>(x);
        return bits < 0 ? static_cast<std::int64_t>(std::int32_t{INT32_MIN}) - bits
                        : static_cast<std::int64_t>(bits);
    };
    auto fromKey = [](std::int64_t k) {
        return k < 0 ? std::bit_cast<float>(static_cast<std::int32_t>(INT32_MIN - k))
                     : std::bit_cast<float>(static_cast<std::int32_t>(k));
    };
    for (std::int64_t k = key(low); k <= key(high); k += stride) {
        check(fromKey(k));
    }
    check(high);
    for (float edge : edges) {
        const std::int64_t centre = key(edge);
        for (std::int64_t k = std::max(centre - window, key(low));
             k <= std::min(centre + window, key(high)); ++k) {
            check(fromKey(k));
        }
    }
    return worst;
}

void expectWithinBudget(const char* name, const Worst& worst) {
    ::testing::Test::RecordProperty(std::string(name) + "_worst_ulps", std::to_string(worst.ulps));
    std::printf("%s: worst %.3f ulp at %.9g\n", name, worst.ulps, static_cast<double>(worst.input));
    EXPECT_LE(worst.ulps, kBudgetUlps) << name << " at " << worst.input;
}

// The modulators' sines: one period after the double-precision reduction, with dense windows
// around every multiple of pi/2, where the value passes zero or turns.
TEST_F(FastMathAccuracy, SineStaysWithinBudgetOverOnePeriod) {
    const float twoPi = 6.2831855f;
    const Worst worst =
        sweep([](float x) { return FastMath::sin(x); }, [](double x) { return std::sin(x); },
              -twoPi, twoPi, 31,
              {0.0f, 1.5707964f, 3.1415927f, 4.712389f, twoPi, -1.5707964f, -3.1415927f}, 1 << 16);
    expectWithinBudget("sin", worst);
}

// The saturator feeds table samples, -1..1; larger values take the reciprocal branch.
TEST_F(FastMathAccuracy, ArctangentStaysWithinBudget) {
    const Worst inside = sweep(
        [](float x) { return FastMath::atan(x); }, [](double x) { return std::atan(x); }, -1.0f,
        1.0f, 29, {0.0f, 0.19891237f, 0.6681786f, 1.0f, -0.19891237f, -0.6681786f}, 1 << 16);
    expectWithinBudget("atan(-1..1)", inside);
    const Worst outside =
        sweep([](float x) { return FastMath::atan(x); }, [](double x) { return std::atan(x); },
              1.0f, 3.0e38f, 4099, {1.0f}, 1 << 12);
    expectWithinBudget("atan(1..3e38)", outside);
    EXPECT_TRUE(std::isnan(FastMath::atan(std::numeric_limits<float>::quiet_NaN())));
}

// The high-pass control curve takes e^(5 c) for c in 0..1.
TEST_F(FastMathAccuracy, ExponentialStaysWithinBudget) {
    const Worst curve =
        sweep([](float x) { return FastMath::exp(x); }, [](double x) { return std::exp(x); }, 0.0f,
              5.0f, 23, {0.0f, 0.34657359f, 1.0397208f, 5.0f}, 1 << 16);
    expectWithinBudget("exp(0..5)", curve);
    const Worst wide =
        sweep([](float x) { return FastMath::exp(x); }, [](double x) { return std::exp(x); },
              -103.0f, 88.5f, 997, {-87.0f, 0.0f}, 1 << 10);
    expectWithinBudget("exp(-103..88.5)", wide);
    EXPECT_EQ(FastMath::exp(-200.0f), 0.0f);
    EXPECT_TRUE(std::isinf(FastMath::exp(100.0f)));
}

// The high-pass prewarps pi times a cutoff fraction of at most 0.4777; the sweep runs on
// towards pi/2, where the tangent is steepest.
TEST_F(FastMathAccuracy, TangentStaysWithinBudgetUpToTheQuarterPeriod) {
    const Worst worst =
        sweep([](float x) { return FastMath::tan(x); }, [](double x) { return std::tan(x); }, 0.0f,
              1.57f, 19, {0.0f, 0.7853982f, 1.5007f, 1.57f}, 1 << 16);
    expectWithinBudget("tan(0..1.57)", worst);
}

// The pitch envelope's fall: a remaining fraction in 0..1 raised to 0..20.
TEST_F(FastMathAccuracy, UnitPowerStaysWithinBudget) {
    Worst worst;
    std::mt19937 random(12);
    std::uniform_real_distribution<float> exponents(0.0f, 20.0f);
    std::vector<float> shapes = {0.0f, 1e-6f, 0.05f, 0.5f, 1.0f, 2.0f, 7.77f, 19.99f, 20.0f};
    for (int i = 0; i < 40; ++i) {
        shapes.push_back(exponents(random));
    }
    for (float shape : shapes) {
        const auto exponent = static_cast<double>(shape);
        const Worst one = sweep(
            [&](float base) { return FastMath::unitPower(static_cast<double>(base), exponent); },
            [&](double base) { return std::pow(base, exponent); }, 0.0f, 1.0f, 4001,
            {1.0f, 0.70710677f, 1e-30f}, 1 << 12);
        worst.take(one.ulps, shape);
    }
    expectWithinBudget("unitPower (worst exponent)", worst);
    EXPECT_EQ(FastMath::unitPower(0.0, 0.0), 1.0f);
    EXPECT_EQ(FastMath::unitPower(0.0, 2.0), 0.0f);
    EXPECT_EQ(FastMath::unitPower(1.5, 2.0), 2.25f);
    EXPECT_TRUE(std::isinf(FastMath::unitPower(1e30, 20.0)));
}

// The resonant filter design's angle 2 pi f / rate lies in 0..pi. Its cosine enters the
// coefficients as 1 - cos, so beyond the float budget the pair must hold double precision.
TEST_F(FastMathAccuracy, SineAndCosineHoldDoublePrecisionOverHalfAPeriod) {
    Worst sineFloat;
    Worst cosineFloat;
    double worstDoubleUlps = 0.0;
    constexpr int kSteps = 4000000;
    for (int i = 0; i <= kSteps; ++i) {
        const double x = 3.141592653589793 * i / kSteps;
        const FastMath::SineCosine result = FastMath::sinCos(x);
        const testing::Exact sine = std::sin(static_cast<testing::Exact>(x));
        const testing::Exact cosine = std::cos(static_cast<testing::Exact>(x));
        sineFloat.take(ulpError(static_cast<float>(result.sine), static_cast<double>(sine)),
                       static_cast<float>(x));
        cosineFloat.take(ulpError(static_cast<float>(result.cosine), static_cast<double>(cosine)),
                         static_cast<float>(x));
        worstDoubleUlps = std::max({worstDoubleUlps, testing::doubleUlps(result.sine, sine),
                                    testing::doubleUlps(result.cosine, cosine)});
    }
    expectWithinBudget("sinCos sine", sineFloat);
    expectWithinBudget("sinCos cosine", cosineFloat);
    std::printf("sinCos: worst %.3f double ulp\n", worstDoubleUlps);
    EXPECT_LE(worstDoubleUlps, kBudgetUlps);
}

// Not an approximation: the reduction must give exactly what the library's remainder gives.
TEST_F(FastMathAccuracy, TwoPiRemainderMatchesTheLibraryBitForBit) {
    constexpr double kPeriod = 2.0 * 3.141592653589793;
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> spans(0.0, 1.0);
    std::vector<double> inputs = {0.0,
                                  kPeriod,
                                  2.0 * kPeriod,
                                  3.0 * kPeriod,
                                  1e6 * kPeriod,
                                  67108863.0 * kPeriod,
                                  67108864.0 * kPeriod,
                                  1e300};
    for (int i = 0; i < 2000000; ++i) {
        inputs.push_back(std::ldexp(spans(random), static_cast<int>(random() % 30)));
    }
    for (double n = 1.0; n < 1e7; n = n * 1.7 + 1.0) {
        const double multiple = std::trunc(n) * kPeriod;
        inputs.push_back(multiple);
        inputs.push_back(std::nextafter(multiple, 0.0));
        inputs.push_back(std::nextafter(multiple, HUGE_VAL));
    }
    int mismatches = 0;
    for (double x : inputs) {
        const double expected = std::fmod(x, kPeriod);
        const double actual = FastMath::fmodTwoPi(x);
        if (std::bit_cast<std::uint64_t>(expected) != std::bit_cast<std::uint64_t>(actual)) {
            if (++mismatches <= 5) {
                ADD_FAILURE() << "fmod(" << x << ") = " << expected << ", got " << actual;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

} // namespace
} // namespace Korvatune
