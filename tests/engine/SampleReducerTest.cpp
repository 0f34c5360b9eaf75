#include "engine/SampleReducer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

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

// Blocks of frames give what frame-by-frame processing gives, also across block edges, when the
// block passes everything and the next one holds the frame it left behind.
TEST(SampleReducer, BlocksGiveWhatFramesGive) {
    struct Block {
        float levels;
        int step;
        int frames;
    };
    const Block blocks[] = {{0.0f, 0, 37},   {0.0f, -8, 20}, {0.0f, 5, 41}, {300.0f, 0, 16},
                            {300.0f, 7, 33}, {0.0f, 0, 0},   {0.0f, 3, 12}};
    SampleReducer framewise;
    SampleReducer blockwise;
    int n = 0;
    for (const Block& block : blocks) {
        std::vector<float> left(static_cast<std::size_t>(block.frames));
        std::vector<float> right(left.size());
        std::vector<StereoSample> expected;
        for (int i = 0; i < block.frames; ++i, ++n) {
            left[static_cast<std::size_t>(i)] = std::sin(0.37f * static_cast<float>(n));
            right[static_cast<std::size_t>(i)] = -0.5f * left[static_cast<std::size_t>(i)];
            expected.push_back(framewise.process(
                {left[static_cast<std::size_t>(i)], right[static_cast<std::size_t>(i)]},
                block.levels, block.step));
            framewise.advance();
        }
        blockwise.processBlock(left.data(), right.data(), block.frames, block.levels, block.step);
        for (std::size_t i = 0; i < expected.size(); ++i) {
            ASSERT_EQ(left[i], expected[i].left) << "frame " << i;
            ASSERT_EQ(right[i], expected[i].right) << "frame " << i;
        }
    }
}

} // namespace
} // namespace Korvatune
