#include "engine/Distortion.h"
#include "engine/DistortionTables.h"
#include "plugin/DenormalGuard.h"
#include "programs/ProgramKeys.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace Korvatune {
namespace {

// Amount 0.01 gives the drive gain 1.2; amount 0.0625 gives the cosine gain 2.
constexpr float kSmallAmount = 0.01f;
constexpr float kSmallGain = 1.2f;
constexpr float kCosineAmount = 0.0625f;

float typeValue(int index) {
    return distortionTypeValue(index);
}

float shaped(Distortion& distortion, int index, float amount, float x) {
    distortion.setType(typeValue(index));
    distortion.setAmount(amount);
    return distortion.process(x);
}

std::vector<float> sweep() {
    std::vector<float> inputs;
    for (float x = -1.6f; x <= 1.6f; x += 0.0137f) {
        inputs.push_back(x);
    }
    return inputs;
}

TEST(DistortionTest, TypeValuesFallIntoBandsAroundEachIndex) {
    EXPECT_STREQ(Distortion::typeName(0.02f), "Linear");
    EXPECT_STREQ(Distortion::typeName(0.021f), "Compressor");
    EXPECT_STREQ(Distortion::typeName(0.5f), "Full-Clip");
    EXPECT_STREQ(Distortion::typeName(1.0f), "MadDog");
    EXPECT_EQ(Distortion::typeIndex(-3.0f), 0);
    EXPECT_EQ(Distortion::typeIndex(7.0f), 24);
    EXPECT_EQ(Distortion::typeIndex(std::numeric_limits<float>::quiet_NaN()), 0);
    Distortion distortion;
    distortion.setType(0.021f);
    EXPECT_EQ(distortion.getType(), 1);
    for (int index = 0; index < Distortion::kNumTypes; ++index) {
        EXPECT_EQ(Distortion::typeIndex(typeValue(index)), index);
    }
}

TEST(DistortionTest, NamesAreRecognisedExactlyAndLinearFallsBackToZero) {
    EXPECT_EQ(Distortion::typeFromName("Compressor"), 1);
    EXPECT_EQ(Distortion::typeFromName("compressor"), 0);
    EXPECT_EQ(Distortion::typeFromName("MadDog"), 24);
    EXPECT_EQ(Distortion::typeFromName("MadDog "), 0);
    EXPECT_EQ(Distortion::typeFromName("Linear"), 0);
    EXPECT_EQ(Distortion::typeFromName(""), 0);
    EXPECT_EQ(Distortion::typeFromName(nullptr), 0);
    for (int index = 0; index < Distortion::kNumTypes; ++index) {
        EXPECT_EQ(Distortion::typeFromName(Distortion::typeNameOfIndex(index)), index);
    }
    EXPECT_STREQ(Distortion::typeNameOfIndex(99), "MadDog");
    EXPECT_STREQ(Distortion::typeNameOfIndex(-1), "Linear");
}

TEST(DistortionTest, StepButtonsMoveOneTypeAndStopAtTheEnds) {
    EXPECT_EQ(Distortion::previousType(0.0f), 0.0f);
    EXPECT_EQ(Distortion::nextType(1.0f), 1.0f);
    EXPECT_FLOAT_EQ(Distortion::nextType(0.0f), 1.0f / 24.0f);
    float value = 0.0f;
    for (int index = 1; index < Distortion::kNumTypes; ++index) {
        value = Distortion::nextType(value);
        EXPECT_EQ(Distortion::typeIndex(value), index);
    }
    EXPECT_EQ(Distortion::typeIndex(Distortion::previousType(value)), 23);
}

TEST(DistortionTest, ZeroAmountLeavesEverySampleUntouched) {
    Distortion distortion;
    for (int index = 0; index < Distortion::kNumTypes; ++index) {
        distortion.setType(typeValue(index));
        std::array<float, 4> left = {1.5f, -3.0f, 0.0f, 0.25f};
        std::array<float, 4> right = {-1.25f, 2.0f, 0.5f, -0.0f};
        const auto leftBefore = left;
        const auto rightBefore = right;
        distortion.processBlock(left.data(), right.data(), 4);
        EXPECT_EQ(left, leftBefore);
        EXPECT_EQ(right, rightBefore);
        EXPECT_EQ(distortion.process(-7.0f), -7.0f);
    }
}

TEST(DistortionTest, LinearAndInvertScaleByTheDriveAndClampToFullScale) {
    Distortion d;
    EXPECT_FLOAT_EQ(shaped(d, 0, kSmallAmount, 0.5f), 0.5f * kSmallGain);
    EXPECT_EQ(shaped(d, 0, kSmallAmount, 0.9f), 1.0f);
    EXPECT_EQ(shaped(d, 0, kSmallAmount, -0.9f), -1.0f);
    EXPECT_FLOAT_EQ(shaped(d, 18, kSmallAmount, 0.75f), 0.25f * kSmallGain);
    EXPECT_FLOAT_EQ(shaped(d, 18, kSmallAmount, -0.75f), -0.25f * kSmallGain);
}

TEST(DistortionTest, HardOverloadHoldsFullAmountJustBelowOne) {
    Distortion d;
    // Full amount behaves as 0.99: drive 20 * 0.99 / 0.01, about 1980.
    EXPECT_NEAR(shaped(d, 2, 1.0f, 0.001f), 0.001f * 1981.0f / (1.0f + 1.98f), 1e-4f);
    EXPECT_EQ(shaped(d, 2, 1.0f, 0.001f), shaped(d, 2, 0.99f, 0.001f));
    EXPECT_NEAR(shaped(d, 2, 0.5f, -0.1f), -0.7f, 1e-6f);
}

TEST(DistortionTest, TablesWrapBeyondFullScaleAndZeroReadsTheNegativeHalf) {
    Distortion d;
    EXPECT_FLOAT_EQ(shaped(d, 14, kSmallAmount, 1.0f), 0.5f * kSmallGain);
    EXPECT_FLOAT_EQ(shaped(d, 14, kSmallAmount, 1.5f), 0.75f * kSmallGain);
    EXPECT_FLOAT_EQ(shaped(d, 14, kSmallAmount, 0.0f), -0.5f * kSmallGain);
    EXPECT_FLOAT_EQ(shaped(d, 3, kSmallAmount, 0.0f), -0.2f * kSmallGain);
    EXPECT_FLOAT_EQ(shaped(d, 9, kSmallAmount, 0.0f), 0.1777f * kSmallGain);
    EXPECT_EQ(shaped(d, 1, kSmallAmount, 0.0f), 0.0f);
}

TEST(DistortionTest, AsymmetricTypesUseTheirOwnTablePerHalf) {
    Distortion d;
    const DistortionTables& t = d.tables();
    EXPECT_FLOAT_EQ(shaped(d, 5, kSmallAmount, 0.25f), 0.5f * kSmallGain * t.shape8[64]);
    EXPECT_FLOAT_EQ(shaped(d, 5, kSmallAmount, -0.25f), -kSmallGain * t.shape9[64]);
    EXPECT_FLOAT_EQ(shaped(d, 17, kSmallAmount, 0.25f), kSmallGain * t.shape12[64]);
    EXPECT_FLOAT_EQ(shaped(d, 17, kSmallAmount, -0.25f), -0.5f * kSmallGain * t.shape11[64]);
}

TEST(DistortionTest, FullClipPassesTheDeadZoneAndFlattensTheRest) {
    Distortion d;
    EXPECT_EQ(shaped(d, 12, kSmallAmount, 0.005f), 0.005f);
    EXPECT_EQ(shaped(d, 12, kSmallAmount, -0.01f), -0.01f);
    EXPECT_FLOAT_EQ(shaped(d, 12, kSmallAmount, 0.02f), 0.1f * kSmallGain);
    EXPECT_FLOAT_EQ(shaped(d, 12, kSmallAmount, -0.5f), -0.1f * kSmallGain);
}

TEST(DistortionTest, BlendedDrivesMatchHandComputedValues) {
    Distortion d;
    // Amount 0.05: drive gain 2; x = +-0.5 reads entry 128.
    EXPECT_NEAR(shaped(d, 19, 0.05f, 0.5f), 0.5025f, 2e-4f);
    EXPECT_NEAR(shaped(d, 19, 0.05f, -0.5f), -0.3838f, 2e-4f);
    EXPECT_NEAR(shaped(d, 20, 0.05f, 0.5f), 0.8929f, 2e-4f);
}

// The curve as written, with every intermediate exact: nothing flushed, nothing underflowed.
float bigBadReference(const DistortionTables& tables, float amount, float x) {
    const float gain = 20.0f * amount + 1.0f;
    const float inverseGain = 1.0f / gain;
    const long double raised = std::pow(static_cast<long double>(std::fabs(x)), gain);
    const auto bent = static_cast<float>(std::pow(std::atan(raised), inverseGain));
    const auto blend = static_cast<float>((x > 0.0f ? 0.2777 : -0.0777) * gain * bent);
    const int i = static_cast<int>(std::fabs(x) * 256.0f) & 0xFF;
    return static_cast<float>(0.4 * (x > 0.0f ? 1.0f : -1.0f) * gain * tables.shape13[i] +
                              0.6 * blend);
}

TEST(DistortionTest, BigBadDriveOnQuietInputIgnoresTheFlushMode) {
    const DistortionTables tables = buildDistortionTables();
    Distortion d;
    d.setType(typeValue(19));
    for (const float amount : {0.5f, 0.9f, 1.0f}) {
        d.setAmount(amount);
        for (float magnitude = 1e-4f; magnitude <= 0.05f; magnitude *= 1.01f) {
            for (const float x : {magnitude, -magnitude}) {
                const float plain = d.process(x);
                float flushed;
                {
                    const DenormalGuard flushToZero;
                    flushed = d.process(x);
                }
                ASSERT_EQ(plain, flushed) << "amount " << amount << " x " << x;
                const float reference = bigBadReference(tables, amount, x);
                ASSERT_NEAR(plain, reference, 4e-7f * std::fabs(reference))
                    << "amount " << amount << " x " << x;
            }
        }
    }
}

TEST(DistortionTest, CosineTypesFollowTheirCurves) {
    Distortion d;
    EXPECT_EQ(shaped(d, 21, kCosineAmount, 0.0f), 1.0f);
    EXPECT_EQ(shaped(d, 23, kCosineAmount, 0.0f), 0.0f);
    EXPECT_NEAR(shaped(d, 21, kCosineAmount, 0.25f), 0.0f, 1e-6f);
    EXPECT_EQ(shaped(d, 22, kCosineAmount, 0.25f), 1.0f);
    EXPECT_NEAR(shaped(d, 22, kCosineAmount, 0.5f), 0.0f, 1e-6f);
    EXPECT_EQ(shaped(d, 23, kCosineAmount, 0.5f), -1.0f);
    EXPECT_NEAR(shaped(d, 24, kCosineAmount, 0.25f), std::sqrt(0.5f), 1e-6f);
}

TEST(DistortionTest, BlockMatchesSampleBySampleForEveryType) {
    Distortion d;
    d.setAmount(0.3f);
    const std::vector<float> inputs = sweep();
    for (int index = 0; index < Distortion::kNumTypes; ++index) {
        d.setType(typeValue(index));
        std::vector<float> left = inputs;
        std::vector<float> right(inputs.rbegin(), inputs.rend());
        d.processBlock(left.data(), right.data(), static_cast<int>(inputs.size()));
        for (std::size_t n = 0; n < inputs.size(); ++n) {
            ASSERT_EQ(left[n], d.process(inputs[n])) << "type " << index << " n " << n;
            ASSERT_EQ(right[n], d.process(inputs[inputs.size() - 1 - n])) << "type " << index;
        }
    }
}

TEST(DistortionTest, TwoInstancesShapeIdentically) {
    Distortion first;
    Distortion second;
    for (int index = 0; index < Distortion::kNumTypes; ++index) {
        for (float x : sweep()) {
            ASSERT_EQ(shaped(first, index, 0.7f, x), shaped(second, index, 0.7f, x));
        }
    }
}

TEST(DistortionTest, DisplayCurveSamplesTheCurrentCurve) {
    Distortion d;
    std::array<float, Distortion::kDisplayCurvePoints> curve{};
    d.displayCurve(curve);
    EXPECT_EQ(curve.front(), -0.5f);
    EXPECT_NEAR(curve.back(), 0.4884f, 1e-4f);
    d.setAmount(0.05f);
    d.displayCurve(curve);
    EXPECT_EQ(curve.front(), -1.0f);
    EXPECT_EQ(curve[43], 0.0f);
    EXPECT_NEAR(curve.back(), 2.0f * (85.0f / 86.0f - 0.5f), 1e-6f);
}

TEST(DistortionTest, OutOfRangeAmountsAreUsedButNeverPoisonTheOutput) {
    Distortion d;
    d.setAmount(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(d.getAmount(), 0.0f);
    d.setAmount(3.0f);
    EXPECT_EQ(d.getAmount(), 3.0f);
    d.setType(0.0f);
    EXPECT_FLOAT_EQ(d.process(0.01f), 0.01f * 61.0f);
    d.setAmount(-1.0f);
    EXPECT_EQ(d.getAmount(), -1.0f);
    d.setType(distortionTypeValue(2));
    for (float x : {-1.0f, -0.3f, 0.05f, 0.5f, 1.0f}) {
        EXPECT_TRUE(std::isfinite(d.process(x))) << x;
    }
    const float huge = 1e10f;
    const float infinite = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (float x : {huge, -huge, infinite, nan}) {
        const float y = shaped(d, 14, kSmallAmount, x);
        EXPECT_TRUE(y >= -1.0f && y <= 1.0f) << x;
    }
}

} // namespace
} // namespace Korvatune
