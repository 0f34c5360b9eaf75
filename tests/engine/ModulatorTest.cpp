#include "engine/Modulator.h"
#include "engine/RingModulator.h"

#include "engine/IAudioEffect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace Korvatune {
namespace {

// The modulators only check that they have an owner; they never call it.
class SilentOwner final : public IAudioEffect {
public:
    const float* getNoteFrequencies() override { return nullptr; }
    float getPhaseScale() override { return 0.0f; }
    WaveformProvider* getWaveformProvider() override { return nullptr; }
    ISynthProgram* getCurrentProgram() override { return nullptr; }
};

IAudioEffect* fakeOwner() {
    static SilentOwner owner;
    return &owner;
}

// The single-precision constants the modulators are defined with.
constexpr double kTwoPi = 6.2831855f;
constexpr double kPi = 3.1415927f;

void advance(Modulator& modulator, std::uint32_t samples) {
    for (std::uint32_t i = 0; i < samples; ++i) {
        modulator.advance();
    }
}

void advance(RingModulator& ringModulator, std::uint32_t samples) {
    for (std::uint32_t i = 0; i < samples; ++i) {
        ringModulator.advance();
    }
}

TEST(Modulator, InactiveWithoutOwnerOrRate) {
    Modulator modulator;
    EXPECT_EQ(modulator.value(), 1.0f);
    modulator.setOwner(fakeOwner());
    modulator.setRate(0.0f);
    EXPECT_EQ(modulator.value(), 1.0f);
    EXPECT_EQ(modulator.valueAtRate(0.0f), 1.0f);
}

TEST(Modulator, StartPhaseDependsOnTheRate) {
    Modulator modulator;
    modulator.setOwner(fakeOwner());
    EXPECT_FLOAT_EQ(modulator.value(), 0.5f);
    EXPECT_NEAR(modulator.valueAtRate(0.2f), 0.0f, 1e-6f);
    modulator.setRate(1.0f);
    EXPECT_NEAR(modulator.value(), 0.0f, 1e-6f);
    modulator.advance();
    EXPECT_LT(modulator.value(), 0.0f);
}

TEST(Modulator, RunsAtFiveHertzTimesTheRateAndRestarts) {
    Modulator modulator;
    modulator.setOwner(fakeOwner());
    modulator.setRate(1.0f);
    advance(modulator, 2205);
    EXPECT_NEAR(modulator.value(), -0.5f, 1e-6f);
    modulator.setSampleRate(22050.0f);
    EXPECT_NEAR(modulator.value(), 0.0f, 1e-5f);
    modulator.restart();
    EXPECT_EQ(modulator.getCounter(), 0u);
    EXPECT_NEAR(modulator.value(), 0.0f, 1e-6f);
}

TEST(Modulator, KeepsItsPhaseOnAnHourLongNote) {
    Modulator modulator;
    modulator.setOwner(fakeOwner());
    modulator.setRate(0.7f);
    const std::uint32_t samples = 160'000'007;
    advance(modulator, samples);
    const double seconds = samples / 44100.0;
    const double rate = 0.7f;
    const double expected = 0.5 * std::sin(seconds * kTwoPi * rate * 5.0 + rate * kPi * 5.0);
    EXPECT_NEAR(modulator.value(), expected, 1e-5);
}

TEST(RingModulator, PassesTheSignalWhenInactive) {
    RingModulator ringModulator;
    ringModulator.setAmount(1.0f);
    EXPECT_EQ(ringModulator.process({0.3f, -0.2f}).left, 0.3f);
    ringModulator.setOwner(fakeOwner());
    ringModulator.setFrequency(0.0f);
    EXPECT_EQ(ringModulator.process({0.3f, -0.2f}).right, -0.2f);
    ringModulator.setFrequency(0.5f);
    ringModulator.setAmount(0.0f);
    EXPECT_EQ(ringModulator.process({0.3f, -0.2f}).left, 0.3f);
}

TEST(RingModulator, MixesWithARectifiedSine) {
    RingModulator ringModulator;
    ringModulator.setOwner(fakeOwner());
    ringModulator.setSampleRate(8000.0f);
    ringModulator.setFrequency(0.1f);
    ringModulator.setAmount(1.0f);
    const StereoSample atZeroCrossing = ringModulator.process({0.8f, -0.6f});
    EXPECT_EQ(atZeroCrossing.left, 0.0f);
    EXPECT_EQ(atZeroCrossing.right, -0.0f);

    advance(ringModulator, 30);
    const StereoSample atTrough = ringModulator.process({0.8f, -0.6f});
    EXPECT_FLOAT_EQ(atTrough.left, 0.8f);
    EXPECT_FLOAT_EQ(atTrough.right, -0.6f);

    ringModulator.setAmount(0.25f);
    advance(ringModulator, 5);
    const float carrier = std::fabs(std::sin(3.1415927f / 4.0f));
    EXPECT_NEAR(ringModulator.process({0.8f, 0.0f}).left, 0.75f * 0.8f + carrier * 0.2f, 1e-6f);
}

TEST(RingModulator, CarrierKeepsItsPhaseAfterHoursOfUptime) {
    RingModulator ringModulator;
    ringModulator.setOwner(fakeOwner());
    ringModulator.setFrequency(0.9f);
    ringModulator.setAmount(1.0f);
    const std::uint32_t samples = 200'000'003;
    advance(ringModulator, samples);
    EXPECT_EQ(ringModulator.getCounter(), samples);
    const double seconds = samples / 44100.0;
    const double hertz = static_cast<double>(0.9f) * 2000.0;
    const double expected = std::fabs(std::sin(seconds * kTwoPi * hertz));
    EXPECT_NEAR(ringModulator.process({1.0f, 1.0f}).left, expected, 1e-4);
}

} // namespace
} // namespace Korvatune
