#include "engine/SampleReducer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace Korvatune {
namespace {

TEST(SampleReducer, QuantizationFloorGivesTwoLevelsTruncatedTowardZero) {
    float quantization = 0.0f;
    const float levels = SampleReducer::quantizationLevels(quantization);
    EXPECT_EQ(quantization, 0.001f);
    EXPECT_EQ(levels, 2.0f);
    SampleReducer reducer;
    const StereoSample out = reducer.process({0.74f, -0.74f}, levels, 0);
    EXPECT_EQ(out.left, 0.5f);
    EXPECT_EQ(out.right, -0.5f);
    EXPECT_EQ(reducer.process({0.49f, -0.49f}, levels, 0).left, 0.0f);
}

TEST(SampleReducer, QuantizationLevelsFollowFifteenBits) {
    float full = 1.0f;
    EXPECT_EQ(SampleReducer::quantizationLevels(full), 0.0f);
    float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(SampleReducer::quantizationLevels(nan), 0.0f);
    float half = 0.5f;
    EXPECT_FLOAT_EQ(SampleReducer::quantizationLevels(half), std::exp2(7.5f));
    EXPECT_EQ(half, 0.5f);
}

TEST(SampleReducer, RateOnePassesEveryFrameAndZeroHoldsSixtyFour) {
    EXPECT_EQ(SampleReducer::reductionStep(1.0f), 0);
    EXPECT_EQ(SampleReducer::reductionStep(0.99f), 0);
    EXPECT_EQ(SampleReducer::reductionStep(0.0f), 64);
    SampleReducer reducer;
    for (int i = 0; i < 200; ++i) {
        const float input = static_cast<float>(i);
        const StereoSample out = reducer.process({input, -input}, 0.0f, 64);
        EXPECT_EQ(out.left, static_cast<float>(i / 64 * 64)) << i;
        EXPECT_EQ(out.right, -out.left);
        reducer.advance();
    }
}

TEST(SampleReducer, NegativeStepHoldsTheLastFrameForGood) {
    EXPECT_LT(SampleReducer::reductionStep(1.5f), 0);
    EXPECT_GT(SampleReducer::reductionStep(-1e30f), 0);
    SampleReducer reducer;
    reducer.process({0.3f, 0.3f}, 0.0f, 0);
    for (int i = 0; i < 10; ++i) {
        reducer.advance();
        EXPECT_EQ(reducer.process({1.0f, 1.0f}, 0.0f, -32).left, 0.3f);
    }
}

} // namespace
} // namespace Korvatune
