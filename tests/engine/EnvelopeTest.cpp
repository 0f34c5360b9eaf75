#include "engine/FilterEnvelope.h"
#include "engine/PitchEnvelope.h"
#include "engine/PitchSweepPlan.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

namespace Korvatune {
namespace {

TEST(PitchEnvelope, RisesForSevenMillisecondsThenFallsAlongThePower) {
    PitchEnvelope envelope;
    EXPECT_EQ(envelope.value(0.007f), 0.0f);
    envelope.setAmount(0.8f);
    envelope.setPower(1.0f);
    EXPECT_EQ(envelope.value(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(envelope.value(0.0035f), 40.0f);
    EXPECT_FLOAT_EQ(envelope.value(0.007f), 80.0f);
    EXPECT_NEAR(envelope.value(0.007f + 0.25f), 80.0 * std::pow(0.5, 20.0), 1e-9);
    EXPECT_EQ(envelope.value(0.6f), 0.0f);
    envelope.setPower(0.0f);
    EXPECT_FLOAT_EQ(envelope.value(0.5f), 80.0f);
    envelope.setDuration(0.0f);
    EXPECT_GT(envelope.value(0.006f), 0.0f);
    EXPECT_EQ(envelope.value(0.007f), 0.0f);
}

TEST(PitchEnvelope, KeepsItsHertzAtAnyRateAndDrawsInUnitsOfFullScale) {
    PitchEnvelope envelope;
    envelope.setDuration(1.0f);
    envelope.setAmount(1.0f);
    const float stepsAt44k = envelope.value(0.1f);
    envelope.setSampleRate(48000.0f);
    EXPECT_EQ(envelope.getScale(), 91.875f);
    EXPECT_FLOAT_EQ(envelope.value(0.1f) * 48000.0f, stepsAt44k * 44100.0f);
    std::array<float, PitchEnvelope::kDisplayPoints> curve{};
    envelope.fillDisplayCurve(curve);
    EXPECT_EQ(curve[0], 0.0f);
    for (std::size_t i = 1; i < curve.size(); ++i) {
        EXPECT_FLOAT_EQ(curve[i], 1.0f) << i;
    }
}

// Ages across the rise, the fall and after it, with the edges between them.
std::vector<float> sweepAges() {
    std::vector<float> ages = {
        0.0f, 0.007f, std::nextafter(0.007f, 0.0f), std::nextafter(0.007f, 1.0f), 0.507f, 1e9f};
    for (std::uint32_t frame = 0; frame < 40000; frame += 7) {
        ages.push_back(static_cast<float>(frame) / 44100.0f);
    }
    while (ages.size() % kLanes != 0) {
        ages.push_back(0.25f);
    }
    return ages;
}

// Shapes as the knobs set them, with the ones the curve branches on: no fall, no power, no
// amount.
const PitchEnvelope::Shape kShapes[] = {{100.0f, 0.275f, 0.777f, 0.7f},
                                        {91.875f, 1.0f, 0.5f, 0.05f},
                                        {100.0f, 0.8f, 0.0f, 1.0f},
                                        {100.0f, 0.5f, 0.3f, 0.0f},
                                        {100.0f, 0.0f, 0.3f, 0.5f}};

TEST(PitchEnvelope, LanesGiveWhatEachAgeGivesAlone) {
    const std::vector<float> ages = sweepAges();
    for (const PitchEnvelope::Shape& shape : kShapes) {
        for (bool wide : {false, true}) {
            if (wide && !wideLanesAvailable()) {
                continue;
            }
            for (std::size_t i = 0; i < ages.size(); i += kLanes) {
                const FloatLanes t = {ages[i], ages[i + 1], ages[i + 2], ages[i + 3]};
                const FloatLanes values = PitchEnvelope::valuesOf(shape, t, wide);
                for (int lane = 0; lane < kLanes; ++lane) {
                    ASSERT_EQ(std::bit_cast<std::uint32_t>(values[lane]),
                              std::bit_cast<std::uint32_t>(PitchEnvelope::valueOf(shape, t[lane])))
                        << "age " << t[lane] << " wide " << wide;
                }
            }
        }
    }
}

// A voice's sweep is planned from the ages it expects; whether the forecast holds or not, the
// note restarts or a knob turns in the middle of a plan, every frame must get the sweep at its
// own age.
TEST(PitchSweepPlan, GivesTheSweepAtEveryAgeWhateverTheForecast) {
    PitchEnvelope envelope;
    envelope.setAmount(0.6f);
    envelope.setPower(0.7f);
    envelope.setDuration(0.2f);
    PitchSweepPlan plan;
    std::uint32_t count = 0;
    for (int frame = 0; frame < 20000; ++frame) {
        if (frame % 3000 == 2999) {
            count = 0;
            plan.restart();
        }
        if (frame % 1000 == 500) {
            envelope.setPower(envelope.getPower() * 0.9f);
        }
        const auto ageOf = [](std::uint32_t n) { return static_cast<float>(n) / 44100.0f; };
        // Right for most frames; wrong now and then, as when a voice restarts unannounced.
        const bool wrong = frame % 2000 > 1900;
        const auto forecast = [&](std::uint32_t ahead) {
            return ageOf(count + ahead + (wrong ? 1 : 0));
        };
        const float age = ageOf(count);
        ASSERT_EQ(std::bit_cast<std::uint32_t>(plan.valueAt(envelope, age, forecast)),
                  std::bit_cast<std::uint32_t>(envelope.value(age)))
            << "frame " << frame;
        ++count;
    }
}

TEST(FilterEnvelope, PassesWhileDisabledElseMakesFourHumps) {
    FilterEnvelope envelope;
    EXPECT_EQ(envelope.value(0.0625f), 1.0f);
    envelope.setEnabled(true);
    envelope.setDuration(0.4f);
    EXPECT_FLOAT_EQ(envelope.value(0.0f), 1.0f);
    EXPECT_NEAR(envelope.value(0.025f), std::sqrt(0.5f), 1e-6f);
    EXPECT_NEAR(envelope.value(0.05f), 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(envelope.value(0.1f), 1.0f);
    EXPECT_EQ(envelope.value(0.4f), 1.0f);
}

} // namespace
} // namespace Korvatune
