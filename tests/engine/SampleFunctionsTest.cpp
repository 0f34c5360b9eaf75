#include "engine/SampleFunctions.h"

#include <gtest/gtest.h>

#include <cmath>

namespace Korvatune {
namespace {

TEST(Saturate, ZeroAmountLeavesTheSampleUntouched) {
    EXPECT_EQ(saturate(3.5f, 0.0f), 3.5f);
    EXPECT_EQ(saturate(-0.25f, 0.0f), -0.25f);
}

TEST(Saturate, SmallAmountsAreRaisedToTheLowestGain) {
    EXPECT_EQ(saturate(0.01f, 0.01f), saturate(0.01f, 0.0927902f));
    EXPECT_EQ(saturate(0.01f, -0.5f), saturate(0.01f, 0.0927902f));
    // At the lowest gain a full-scale input comes out at full scale.
    EXPECT_NEAR(saturate(1.0f, 0.05f), 1.0f, 1e-4f);
    EXPECT_NEAR(saturate(0.5f, 0.05f), std::atan(0.5f) / std::atan(1.0f), 1e-4f);
}

TEST(Saturate, ShapesThroughArctangentAndClampsToUnit) {
    const float expected = std::atan(0.05f) / std::atan(1.0f) * 0.5f * 10.777f;
    EXPECT_FLOAT_EQ(saturate(0.05f, 0.5f), expected);
    EXPECT_FLOAT_EQ(saturate(-0.05f, 0.5f), -expected);
    EXPECT_EQ(saturate(1.0f, 1.0f), 1.0f);
    EXPECT_EQ(saturate(-0.3f, 1.0f), -1.0f);
}

} // namespace
} // namespace Korvatune
