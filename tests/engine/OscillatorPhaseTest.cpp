#include "engine/OscillatorPhase.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace Korvatune {
namespace {

int unwrappedIndex(float phase) {
    return static_cast<int>(static_cast<std::int64_t>(phase) & 4095);
}

TEST(OscillatorPhase, NegativePhasesReadThroughTheLowTwelveBits) {
    EXPECT_EQ(tableIndex(-5.5f), 4091);
    EXPECT_EQ(tableIndex(-0.75f), 0);
    EXPECT_EQ(tableIndex(-4095.5f), 1);
    EXPECT_EQ(tableIndex(4095.9f), 4095);
}

TEST(OscillatorPhase, WrappingKeepsTheTableEntryAndTheFraction) {
    for (float phase : {4096.0f, -4096.0f, 4100.5f, -4100.5f, 123456.75f, -98765.25f, 8191.5f,
                        1.0e9f, -3.0e10f}) {
        const float wrapped = wrapPhase(phase);
        EXPECT_LT(std::fabs(wrapped), 4096.0f) << phase;
        EXPECT_EQ(tableIndex(wrapped), unwrappedIndex(phase)) << phase;
        EXPECT_EQ(wrapped - std::trunc(wrapped), phase - std::trunc(phase)) << phase;
    }
    EXPECT_EQ(wrapPhase(-17.25f), -17.25f);
}

TEST(OscillatorPhase, NonFinitePhasesRestartAtZero) {
    EXPECT_EQ(wrapPhase(std::numeric_limits<float>::infinity()), 0.0f);
    EXPECT_EQ(wrapPhase(-std::numeric_limits<float>::infinity()), 0.0f);
    EXPECT_EQ(wrapPhase(std::numeric_limits<float>::quiet_NaN()), 0.0f);
}

} // namespace
} // namespace Korvatune
