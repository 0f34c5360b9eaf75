#include "engine/Modulator.h"
#include "engine/IAudioEffect.h"
#include "engine/RingModulator.h"

#include <gtest/gtest.h>

#include <array>
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

// The single-precision constants the modulators are defined with.
constexpr double kTwoPi = 6.2831855f;
constexpr double kPi = 3.1415927f;

template <typename Clocked> void advanceBy(Clocked& clocked, std::uint32_t samples) {
    for (std::uint32_t i = 0; i < samples; ++i) {
        clocked.advance();
    }
}

TEST(Modulator, InactiveIsOneElseStartsAtRateTimesFivePi) {
    SilentOwner owner;
    Modulator modulator;
    EXPECT_EQ(modulator.value(), 1.0f);
    modulator.setOwner(&owner);
    EXPECT_FLOAT_EQ(modulator.value(), 0.5f);
    EXPECT_NEAR(modulator.valueAtRate(0.2f), 0.0f, 1e-6f);
    EXPECT_EQ(modulator.valueAtRate(0.0f), 1.0f);
    modulator.setRate(1.0f);
    advanceBy(modulator, 2205);
    EXPECT_NEAR(modulator.value(), -0.5f, 1e-6f);
    modulator.restart();
    EXPECT_NEAR(modulator.value(), 0.0f, 1e-6f);
}

TEST(Modulator, KeepsItsPhaseOnAnHourLongNote) {
    SilentOwner owner;
    Modulator modulator;
    modulator.setOwner(&owner);
    modulator.setRate(0.7f);
    const std::uint32_t samples = 160'000'007;
    advanceBy(modulator, samples);
    const double seconds = samples / 44100.0;
    const double rate = 0.7f;
    EXPECT_NEAR(modulator.value(), 0.5 * std::sin(seconds * kTwoPi * rate * 5.0 + rate * kPi * 5.0),
                1e-5);
}

// A modulator that was never asked before, at the given clock, rate and sample rate.
float freshValue(IAudioEffect& owner, std::uint32_t samples, float rate, float sampleRate) {
    Modulator fresh;
    fresh.setOwner(&owner);
    fresh.setSampleRate(sampleRate);
    advanceBy(fresh, samples);
    return fresh.valueAtRate(rate);
}

TEST(Modulator, RepeatedReadsFollowTheClockTheRateAndTheSampleRate) {
    SilentOwner owner;
    Modulator modulator;
    modulator.setOwner(&owner);
    advanceBy(modulator, 1000);
    EXPECT_EQ(modulator.valueAtRate(0.3f), freshValue(owner, 1000, 0.3f, 44100.0f));
    EXPECT_EQ(modulator.valueAtRate(0.3f), freshValue(owner, 1000, 0.3f, 44100.0f));
    EXPECT_EQ(modulator.valueAtRate(0.6f), freshValue(owner, 1000, 0.6f, 44100.0f));
    modulator.setSampleRate(48000.0f);
    EXPECT_EQ(modulator.valueAtRate(0.6f), freshValue(owner, 1000, 0.6f, 48000.0f));
    modulator.advance();
    EXPECT_EQ(modulator.valueAtRate(0.6f), freshValue(owner, 1001, 0.6f, 48000.0f));
    modulator.restart();
    EXPECT_EQ(modulator.valueAtRate(0.6f), freshValue(owner, 0, 0.6f, 48000.0f));
    EXPECT_EQ(modulator.valueAtRate(0.0f), 1.0f);
    modulator.setOwner(nullptr);
    EXPECT_EQ(modulator.valueAtRate(0.6f), 1.0f);
}

// A voice's oscillators ask for their rates side by side; each lane is what that rate alone
// gives, also on a clock far beyond the first period and with one lane inactive.
TEST(Modulator, EachLaneIsTheValueOfItsOwnRate) {
    SilentOwner owner;
    const FloatLanes rates = {0.3f, 0.0f, 0.97f, 0.05f};
    for (std::uint32_t samples : {0u, 1u, 4410u, 3000000u}) {
        Modulator clocked;
        clocked.setOwner(&owner);
        advanceBy(clocked, samples);
        const FloatLanes values = clocked.valuesAtRates(rates);
        for (int lane = 0; lane < kLanes; ++lane) {
            EXPECT_EQ(values[lane], freshValue(owner, samples, rates[lane], 44100.0f))
                << samples << " samples, lane " << lane;
        }
    }
}

// A voice without its third oscillator asks only for the lower lanes; a voice sharing the memo
// that needs all of them must not take the lower-only result.
TEST(Modulator, ASharedMemoOfTheLowerLanesIsNotTakenForAllOfThem) {
    SilentOwner owner;
    ModulatorMemo memo;
    Modulator lower;
    Modulator all;
    for (Modulator* modulator : {&lower, &all}) {
        modulator->setOwner(&owner);
        modulator->shareMemo(&memo);
        advanceBy(*modulator, 100);
    }
    const FloatLanes rates = {0.3f, 0.5f, 0.7f, 0.0f};
    lower.valuesAtRates(rates, false);
    const FloatLanes values = all.valuesAtRates(rates);
    EXPECT_EQ(values[2], freshValue(owner, 100, 0.7f, 44100.0f));
    EXPECT_EQ(values[3], 1.0f);
}

// Values of later clocks are asked for ahead of time while rates change now and then; each must
// be what a fresh modulator gives at that clock, also for a modulator sharing its runs.
TEST(Modulator, ValuesAheadAreTheValuesOfLaterClocks) {
    SilentOwner owner;
    ModulatorMemo memo;
    Modulator alone;
    Modulator sharing;
    Modulator partner;
    for (Modulator* modulator : {&alone, &sharing, &partner}) {
        modulator->setOwner(&owner);
    }
    sharing.shareMemo(&memo);
    partner.shareMemo(&memo);
    float rate = 0.3f;
    for (std::uint32_t n = 0; n < 120; ++n) {
        if (n % 23 == 0) {
            rate += 0.1f;
        }
        const std::uint32_t ahead = (n * 7) % ModulatorMemo::kRunLength;
        const float expected = freshValue(owner, n + ahead, rate, 44100.0f);
        ASSERT_EQ(alone.valuesAhead(ahead, broadcast(rate), false)[0], expected) << n;
        partner.valuesAhead(ahead, broadcast(rate * 0.5f), false);
        ASSERT_EQ(sharing.valuesAhead(ahead, broadcast(rate), false)[0], expected) << n;
        ASSERT_EQ(sharing.valueAtRate(rate), freshValue(owner, n, rate, 44100.0f)) << n;
        for (Modulator* modulator : {&alone, &sharing, &partner}) {
            modulator->advance();
        }
    }
}

TEST(RingModulator, PassesWhenInactiveElseMixesWithARectifiedSine) {
    SilentOwner owner;
    RingModulator ringModulator;
    ringModulator.setAmount(1.0f);
    EXPECT_EQ(ringModulator.process({0.3f, -0.2f}).left, 0.3f);
    ringModulator.setOwner(&owner);
    ringModulator.setFrequency(0.0f);
    EXPECT_EQ(ringModulator.process({0.3f, -0.2f}).right, -0.2f);

    // 200 Hz at 8000 Hz: a zero crossing at sample 0, a trough at 30, an eighth later at 35.
    ringModulator.setSampleRate(8000.0f);
    ringModulator.setFrequency(0.1f);
    EXPECT_EQ(ringModulator.process({0.8f, -0.6f}).left, 0.0f);
    advanceBy(ringModulator, 30);
    const StereoSample atTrough = ringModulator.process({0.8f, -0.6f});
    EXPECT_FLOAT_EQ(atTrough.left, 0.8f);
    EXPECT_FLOAT_EQ(atTrough.right, -0.6f);
    ringModulator.setAmount(0.25f);
    advanceBy(ringModulator, 5);
    EXPECT_NEAR(ringModulator.process({0.8f, 0.0f}).left, 0.6f + std::sqrt(0.5f) * 0.2f, 1e-6f);
}

// A block gives what its frames give one by one, active or not, and its clock runs on either
// way.
TEST(RingModulator, BlocksGiveWhatFramesGive) {
    SilentOwner owner;
    RingModulator framewise;
    RingModulator blockwise;
    for (RingModulator* ringModulator : {&framewise, &blockwise}) {
        ringModulator->setOwner(&owner);
        ringModulator->setFrequency(0.3f);
    }
    for (float amount : {0.6f, 0.0f, 1.0f}) {
        framewise.setAmount(amount);
        blockwise.setAmount(amount);
        std::array<float, 300> left{};
        std::array<float, 300> right{};
        std::array<StereoSample, 300> expected{};
        for (std::size_t i = 0; i < left.size(); ++i) {
            left[i] = std::cos(0.01f * static_cast<float>(i));
            right[i] = 0.25f - left[i];
            expected[i] = framewise.process({left[i], right[i]});
            framewise.advance();
        }
        blockwise.processBlock(left.data(), right.data(), static_cast<std::int32_t>(left.size()));
        for (std::size_t i = 0; i < left.size(); ++i) {
            ASSERT_EQ(left[i], expected[i].left) << "amount " << amount << " frame " << i;
            ASSERT_EQ(right[i], expected[i].right) << "amount " << amount << " frame " << i;
        }
        EXPECT_EQ(blockwise.getCounter(), framewise.getCounter());
    }
}

TEST(RingModulator, CarrierKeepsItsPhaseAfterHoursOfUptime) {
    SilentOwner owner;
    RingModulator ringModulator;
    ringModulator.setOwner(&owner);
    ringModulator.setFrequency(0.9f);
    ringModulator.setAmount(1.0f);
    const std::uint32_t samples = 200'000'003;
    advanceBy(ringModulator, samples);
    const double seconds = samples / 44100.0;
    const double hertz = static_cast<double>(0.9f) * 2000.0;
    EXPECT_NEAR(ringModulator.process({1.0f, 1.0f}).left,
                std::fabs(std::sin(seconds * kTwoPi * hertz)), 1e-4);
}

// Voices share their modulators' memos; voices struck at different times, or reading another
// rate, must still each get their own sine.
TEST(Modulator, SharedMemoGivesEveryModulatorItsOwnValue) {
    SilentOwner owner;
    ModulatorMemo memo;
    Modulator early;
    Modulator late;
    Modulator earlyAlone;
    Modulator lateAlone;
    for (Modulator* modulator : {&early, &late, &earlyAlone, &lateAlone}) {
        modulator->setOwner(&owner);
        modulator->setRate(0.3f);
    }
    early.shareMemo(&memo);
    late.shareMemo(&memo);
    for (int n = 0; n < 2000; ++n) {
        if (n == 700) {
            late.restart();
            lateAlone.restart();
        }
        ASSERT_EQ(early.value(), earlyAlone.value()) << n;
        ASSERT_EQ(late.value(), lateAlone.value()) << n;
        ASSERT_EQ(early.valueAtRate(0.9f), earlyAlone.valueAtRate(0.9f)) << n;
        ASSERT_EQ(late.value(), lateAlone.value()) << n;
        for (Modulator* modulator : {&early, &late, &earlyAlone, &lateAlone}) {
            modulator->advance();
        }
    }
}

} // namespace
} // namespace Korvatune
