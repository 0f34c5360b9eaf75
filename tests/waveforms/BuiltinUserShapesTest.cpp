#include "waveforms/BuiltinUserShapes.h"
#include "WaveformTestFiles.h"
#include "waveforms/WaveformProvider.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace Korvatune {
namespace {

constexpr int kSize = BuiltinUserShapes::kTableSize;

struct TellingValues {
    int signChanges;
    float largest;
    int largestIndex;
    float smallest;
    int smallestIndex;
    float at1024;
    float at2048;
    float at3072;
};

// The documented character of each built-in user shape, values to three decimals.
const TellingValues kTelling[BuiltinUserShapes::kShapeCount] = {
    {5, 0.997f, 225, -0.969f, 2094, -0.373f, -0.951f, 0.059f},
    {7, 0.997f, 415, -0.857f, 3080, -0.072f, 0.185f, -0.854f},
    {26, 0.997f, 3842, -0.914f, 2091, -0.069f, -0.523f, 0.034f},
    {2, 0.764f, 795, -0.997f, 2756, 0.709f, 0.170f, -0.710f},
    {25, 0.969f, 1433, -0.997f, 2727, 0.848f, -0.502f, -0.429f},
    {6, 0.727f, 847, -0.997f, 3362, 0.672f, -0.245f, -0.204f},
    {10, 0.948f, 297, -0.997f, 1972, -0.065f, -0.785f, 0.133f},
    {3, 0.844f, 588, -0.997f, 2938, 0.651f, -0.362f, -0.545f},
    {3, 0.780f, 1437, -0.997f, 3659, 0.272f, -0.385f, -0.426f},
    {9, 0.769f, 2672, -0.997f, 3245, 0.183f, 0.308f, -0.767f},
};

std::vector<float> shape(int slot) {
    std::vector<float> table(kSize, 55.0f);
    BuiltinUserShapes::fill(slot, table.data());
    return table;
}

// Changes between strictly positive and strictly negative entries; zeros are skipped.
int signChanges(const std::vector<float>& table) {
    int count = 0;
    int last = 0;
    for (float v : table) {
        const int sign = v > 0.0f ? 1 : (v < 0.0f ? -1 : 0);
        if (sign == 0) {
            continue;
        }
        if (last != 0 && sign != last) {
            ++count;
        }
        last = sign;
    }
    return count;
}

std::vector<int> runLengths(const std::vector<float>& table) {
    std::vector<int> runs;
    int length = 1;
    for (int i = 1; i < kSize; ++i) {
        if (table[i] == table[i - 1]) {
            ++length;
        } else {
            runs.push_back(length);
            length = 1;
        }
    }
    runs.push_back(length);
    return runs;
}

// Stated to three decimals: the value must round to the stated one.
constexpr float kThreeDecimals = 0.0005f;

class UserShape : public ::testing::TestWithParam<int> {};

TEST_P(UserShape, ShowsTheTellingValues) {
    const int slot = GetParam();
    const TellingValues& expected = kTelling[slot];
    const std::vector<float> table = shape(slot);

    EXPECT_EQ(signChanges(table), expected.signChanges);
    const auto largest = std::max_element(table.begin(), table.end());
    const auto smallest = std::min_element(table.begin(), table.end());
    EXPECT_NEAR(*largest, expected.largest, kThreeDecimals);
    EXPECT_EQ(largest - table.begin(), expected.largestIndex);
    EXPECT_NEAR(*smallest, expected.smallest, kThreeDecimals);
    EXPECT_EQ(smallest - table.begin(), expected.smallestIndex);
    EXPECT_NEAR(table[1024], expected.at1024, kThreeDecimals);
    EXPECT_NEAR(table[2048], expected.at2048, kThreeDecimals);
    EXPECT_NEAR(table[3072], expected.at3072, kThreeDecimals);
}

TEST_P(UserShape, PeakIs0997AndItStartsAndEndsNearZero) {
    const std::vector<float> table = shape(GetParam());
    float peak = 0.0f;
    for (float v : table) {
        ASSERT_TRUE(std::isfinite(v));
        peak = std::max(peak, std::fabs(v));
    }
    EXPECT_EQ(peak, 0.997f);
    EXPECT_LT(std::fabs(table.front()), 0.01f);
    EXPECT_LT(std::fabs(table.back()), 0.01f);
}

INSTANTIATE_TEST_SUITE_P(AllSlots, UserShape, ::testing::Range(0, BuiltinUserShapes::kShapeCount),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "User" + std::to_string(info.param + 1);
                         });

TEST(UserShapeRuns, User2IsHeldInRunsOfFourAndSomeThree) {
    const std::vector<int> runs = runLengths(shape(1));
    EXPECT_EQ(runs.size(), 1053u);
    const auto fours = std::count(runs.begin(), runs.end(), 4);
    const auto threes = std::count(runs.begin(), runs.end(), 3);
    EXPECT_EQ(fours + threes, 1053);
    EXPECT_GT(fours, 8 * threes); // almost all 4 long
    EXPECT_GT(threes, 0);
}

TEST(UserShapeRuns, User5IsHeldInRunsOfThreeAndSomeFour) {
    const std::vector<int> runs = runLengths(shape(4));
    EXPECT_EQ(runs.size(), 1297u);
    const auto fours = std::count(runs.begin(), runs.end(), 4);
    const auto threes = std::count(runs.begin(), runs.end(), 3);
    EXPECT_EQ(fours + threes, 1297);
    EXPECT_GT(threes, 5 * fours); // almost all 3 long
    EXPECT_GT(fours, 0);
}

TEST(UserShapeRuns, SmoothShapesHaveDistinctNeighbours) {
    for (int slot = 0; slot < BuiltinUserShapes::kShapeCount; ++slot) {
        if (BuiltinUserShapes::runCount(slot) != 0) {
            continue; // User2 and User5 are held
        }
        const std::vector<float> table = shape(slot);
        int equalNeighbours = 0;
        for (int i = 1; i < kSize; ++i) {
            equalNeighbours += table[i] == table[i - 1];
        }
        EXPECT_LT(equalNeighbours, 20) << slot; // "almost always differ"
    }
}

TEST(UserShapeRuns, OnlyUser2AndUser5AreHeld) {
    for (int slot = 0; slot < BuiltinUserShapes::kShapeCount; ++slot) {
        EXPECT_EQ(BuiltinUserShapes::runCount(slot) != 0, slot == 1 || slot == 4) << slot;
    }
}

TEST(UserShapeFill, UnknownSlotsLeaveTheTable) {
    std::vector<float> table(kSize, 7.0f);
    BuiltinUserShapes::fill(-1, table.data());
    BuiltinUserShapes::fill(10, table.data());
    BuiltinUserShapes::fill(0, nullptr);
    EXPECT_EQ(std::count(table.begin(), table.end(), 7.0f), kSize);
}

TEST(UserShapeFill, BuildStoresTheShapesNormalisedTo098777) {
    testfiles::TemporaryDirectory directory; // no user files there
    auto provider = std::make_unique<WaveformProvider>();
    provider->setSubfolder("waveforms");
    provider->setFolder(directory.get().c_str());
    provider->build();
    for (int slot = 0; slot < BuiltinUserShapes::kShapeCount; ++slot) {
        const std::vector<float> builtin = shape(slot);
        const float* table = provider->getTableAt(WaveformProvider::kFirstUserWaveform + slot);
        for (int i = 0; i < kSize; i += 7) {
            EXPECT_NEAR(table[i], builtin[i] * (0.98777f / 0.997f), 1e-6f) << slot << " " << i;
        }
    }
}

} // namespace
} // namespace Korvatune
