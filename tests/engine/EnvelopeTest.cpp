#include "engine/FilterEnvelope.h"
#include "engine/PitchEnvelope.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

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
