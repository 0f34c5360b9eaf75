#include "maths/LaneMath.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace Korvatune {
namespace {

// Every stride-th float between low and high (by bit pattern, both signs), plus the values the
// kernels branch on.
std::vector<float> floatSweep(float high, std::uint32_t stride) {
    std::vector<float> values = {0.0f,
                                 -0.0f,
                                 1.0f,
                                 -1.0f,
                                 std::numeric_limits<float>::infinity(),
                                 -std::numeric_limits<float>::infinity(),
                                 std::numeric_limits<float>::quiet_NaN(),
                                 std::numeric_limits<float>::denorm_min(),
                                 std::nextafter(1.0f, 2.0f),
                                 std::nextafter(1.0f, 0.0f),
                                 -104.0f,
                                 89.0f,
                                 std::nextafter(89.0f, 90.0f)};
    const std::uint32_t top = std::bit_cast<std::uint32_t>(high);
    for (std::uint32_t bits = 0; bits <= top; bits += stride) {
        const float x = std::bit_cast<float>(bits);
        values.push_back(x);
        values.push_back(-x);
    }
    return values;
}

// Runs the lane kernel over the values four at a time, each value in a different lane on each
// of four passes, and reports the first lane whose bits differ from the scalar function.
template <class LaneFunction, class ScalarFunction>
void expectLanesMatchScalar(const std::vector<float>& values, LaneFunction lanes,
                            ScalarFunction scalar) {
    for (std::size_t i = 0; i + kLanes <= values.size(); i += kLanes) {
        for (int rotation = 0; rotation < kLanes; ++rotation) {
            FloatLanes input;
            for (int lane = 0; lane < kLanes; ++lane) {
                input[lane] = values[i + static_cast<std::size_t>((lane + rotation) % kLanes)];
            }
            const FloatLanes output = lanes(input);
            for (int lane = 0; lane < kLanes; ++lane) {
                const float expected = scalar(input[lane]);
                ASSERT_EQ(std::bit_cast<std::uint32_t>(output[lane]),
                          std::bit_cast<std::uint32_t>(expected))
                    << "input " << input[lane] << " lane " << lane;
            }
        }
    }
}

TEST(LaneMath, AtanLanesEqualTheScalarKernelOnEveryFloatClass) {
    expectLanesMatchScalar(
        floatSweep(std::numeric_limits<float>::max(), 4099),
        [](FloatLanes x) { return FastMath::atan(x); }, [](float x) { return FastMath::atan(x); });
}

TEST(LaneMath, ExpLanesEqualTheScalarKernelInsideAndOutsideItsRange) {
    expectLanesMatchScalar(
        floatSweep(std::numeric_limits<float>::max(), 4099),
        [](FloatLanes x) { return FastMath::exp(x); }, [](float x) { return FastMath::exp(x); });
}

TEST(LaneMath, SineAndTangentLanesEqualTheScalarKernels) {
    const std::vector<float> angles = floatSweep(1048575.0f, 1021);
    expectLanesMatchScalar(
        angles, [](FloatLanes x) { return FastMath::sin(x); },
        [](float x) { return FastMath::sin(x); });
    expectLanesMatchScalar(
        angles, [](FloatLanes x) { return FastMath::tan(x); },
        [](float x) { return FastMath::tan(x); });
}

// Without the upper lanes only lanes 0 and 1 are computed; the others read 0.
// The exponents a pitch sweep's power takes (0..20) and the ones unitPower branches on.
constexpr float kPowerExponents[] = {
    0.0f, 1e-3f, 0.5f, 1.0f, 14.0f, 20.0f, 64.0f, -1.0f, __builtin_nanf("")};

TEST(LaneMath, UnitPowerLanesEqualTheScalarFunction) {
    const std::vector<float> bases = floatSweep(2.0f, 4099);
    for (float exponent : kPowerExponents) {
        expectLanesMatchScalar(
            bases, [exponent](FloatLanes x) { return FastMath::unitPower(x, exponent); },
            [exponent](float x) {
                return FastMath::unitPower(static_cast<double>(x), static_cast<double>(exponent));
            });
    }
}

TEST(LaneMath, WithoutTheUpperLanesTheLowerOnesAreUnchanged) {
    const FloatLanes x = {0.3f, -2.5f, 0.7f, 0.9f};
    const FloatLanes results[] = {FastMath::atan(x, false), FastMath::exp(x, false),
                                  FastMath::tan(x, false),
                                  FastMath::periodicSine(
                                      x, [](auto rate) { return rate * 1e5; }, false)};
    const FloatLanes full[] = {FastMath::atan(x), FastMath::exp(x), FastMath::tan(x),
                               FastMath::periodicSine(x, [](auto rate) { return rate * 1e5; })};
    for (std::size_t i = 0; i < std::size(results); ++i) {
        EXPECT_EQ(results[i][0], full[i][0]) << i;
        EXPECT_EQ(results[i][1], full[i][1]) << i;
        EXPECT_EQ(results[i][2], 0.0f) << i;
        EXPECT_EQ(results[i][3], 0.0f) << i;
    }
}

#if KORVATUNE_WIDE_LANES
// The kernels as the wide voice path compiles them: four double lanes in 256-bit registers.
[[gnu::target("avx2")]] FloatLanes wideAtan(FloatLanes x) {
    return FastMath::atan<true>(x);
}
[[gnu::target("avx2")]] FloatLanes wideExp(FloatLanes x) {
    return FastMath::exp<true>(x);
}
[[gnu::target("avx2")]] FloatLanes wideTan(FloatLanes x) {
    return FastMath::tan<true>(x);
}
[[gnu::target("avx2")]] FloatLanes wideSin(FloatLanes x) {
    return FastMath::sin<true>(x);
}
[[gnu::target("avx2")]] FloatLanes wideUnitPower(FloatLanes x, float exponent) {
    return FastMath::unitPower<true>(x, exponent);
}
[[gnu::target("avx2")]] FloatLanes wideLowerAtan(FloatLanes x) {
    return FastMath::atan<true>(x, false);
}

TEST(LaneMath, WideKernelsEqualTheScalarKernels) {
    if (!wideLanesAvailable()) {
        GTEST_SKIP() << "this processor has no 256-bit lanes";
    }
    const std::vector<float> everything = floatSweep(std::numeric_limits<float>::max(), 8191);
    const std::vector<float> angles = floatSweep(1048575.0f, 2039);
    expectLanesMatchScalar(everything, wideAtan, [](float x) { return FastMath::atan(x); });
    expectLanesMatchScalar(everything, wideExp, [](float x) { return FastMath::exp(x); });
    expectLanesMatchScalar(angles, wideTan, [](float x) { return FastMath::tan(x); });
    expectLanesMatchScalar(angles, wideSin, [](float x) { return FastMath::sin(x); });
    for (float exponent : kPowerExponents) {
        expectLanesMatchScalar(
            floatSweep(2.0f, 16381),
            [exponent](FloatLanes x) { return wideUnitPower(x, exponent); },
            [exponent](float x) {
                return FastMath::unitPower(static_cast<double>(x), static_cast<double>(exponent));
            });
    }
    const FloatLanes lower = wideLowerAtan(FloatLanes{0.5f, -3.0f, 0.25f, 2.0f});
    EXPECT_EQ(lower[0], FastMath::atan(0.5f));
    EXPECT_EQ(lower[1], FastMath::atan(-3.0f));
    EXPECT_EQ(lower[2], 0.0f);
    EXPECT_EQ(lower[3], 0.0f);
}
#endif

TEST(LaneMath, PeriodRemainderLanesEqualTheScalarOneAlsoOutsideTheFastRange) {
    constexpr double kPeriod = 6.283185307179586;
    std::vector<double> values = {0.0,
                                  kPeriod,
                                  std::nextafter(kPeriod, 0.0),
                                  2.0 * kPeriod,
                                  std::nextafter(2.0 * kPeriod, 0.0),
                                  -1.0,
                                  -0.0,
                                  67108864.0 * kPeriod,
                                  1e300,
                                  std::numeric_limits<double>::quiet_NaN(),
                                  std::numeric_limits<double>::infinity()};
    for (double x = 1e-3; x < 4e8; x *= 1.0007) {
        values.push_back(x);
        values.push_back(std::nextafter(std::round(x / kPeriod) * kPeriod, 0.0));
    }
    while (values.size() % kLanes != 0) {
        values.push_back(1.0);
    }
    for (std::size_t i = 0; i < values.size(); i += kLanes) {
        const DoubleLanes input = {values[i], values[i + 1], values[i + 2], values[i + 3]};
        const DoubleLanes output = FastMath::fmodTwoPi(input);
        for (int lane = 0; lane < kLanes; ++lane) {
            const double expected = FastMath::fmodTwoPi(input[lane]);
            ASSERT_EQ(std::bit_cast<std::uint64_t>(output[lane]),
                      std::bit_cast<std::uint64_t>(expected))
                << "input " << input[lane];
        }
    }
}

TEST(LaneMath, PeriodicSineLanesReduceInDoubleLikeTheScalarPath) {
    const auto phase = [](auto rate) { return rate * 12345.678 + 0.25; };
    expectLanesMatchScalar(
        floatSweep(40000.0f, 1031),
        [phase](FloatLanes x) { return FastMath::periodicSine(x, phase); },
        [phase](float x) {
            const double reduced = FastMath::fmodTwoPi(phase(static_cast<double>(x)));
            return FastMath::sin(static_cast<float>(reduced));
        });
}

} // namespace
} // namespace Korvatune
