#include "engine/FilterEnvelope.h"
#include "engine/PitchEnvelope.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace Korvatune {
namespace {

TEST(PitchEnvelope, ConstructedSilent) {
    const PitchEnvelope envelope;
    EXPECT_EQ(envelope.getDuration(), 0.5f);
    EXPECT_EQ(envelope.getScale(), 100.0f);
    for (float t : {0.0f, 0.003f, 0.007f, 0.2f, 2.0f}) {
        EXPECT_EQ(envelope.value(t), 0.0f) << t;
    }
}

TEST(PitchEnvelope, RisesOverSevenMillisecondsThenFallsAlongThePower) {
    PitchEnvelope envelope;
    envelope.setDuration(0.5f);
    envelope.setAmount(0.8f);
    envelope.setPower(1.0f);
    EXPECT_EQ(envelope.value(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(envelope.value(0.0035f), 40.0f);
    EXPECT_FLOAT_EQ(envelope.value(0.007f), 80.0f);
    EXPECT_NEAR(envelope.value(0.007f + 0.25f), 80.0 * std::pow(0.5, 20.0), 1e-9);
    EXPECT_EQ(envelope.value(0.6f), 0.0f);
}

TEST(PitchEnvelope, PowerZeroHoldsTheFullOffsetForTheFallTime) {
    PitchEnvelope envelope;
    envelope.setDuration(0.25f);
    envelope.setAmount(1.0f);
    EXPECT_FLOAT_EQ(envelope.value(0.1f), 100.0f);
    EXPECT_FLOAT_EQ(envelope.value(0.25f), 100.0f);
    EXPECT_EQ(envelope.value(0.26f), 0.0f);
}

TEST(PitchEnvelope, ZeroDurationEndsAfterTheRise) {
    PitchEnvelope envelope;
    envelope.setDuration(0.0f);
    envelope.setAmount(1.0f);
    envelope.setPower(0.5f);
    EXPECT_GT(envelope.value(0.006f), 0.0f);
    EXPECT_EQ(envelope.value(0.007f), 0.0f);
    EXPECT_EQ(envelope.value(0.1f), 0.0f);
}

TEST(PitchEnvelope, OffsetInHertzDoesNotDependOnTheRate) {
    PitchEnvelope envelope;
    envelope.setAmount(1.0f);
    const float stepsAt44k = envelope.value(0.007f);
    envelope.setSampleRate(48000.0f);
    EXPECT_EQ(envelope.getScale(), 91.875f);
    EXPECT_EQ(envelope.getSampleRate(), 48000.0f);
    const float stepsAt48k = envelope.value(0.007f);
    EXPECT_FLOAT_EQ(stepsAt48k * 48000.0f, stepsAt44k * 44100.0f);
}

TEST(PitchEnvelope, DisplayCurveIsInUnitsOfFullScale) {
    PitchEnvelope envelope;
    envelope.setDuration(1.0f);
    envelope.setAmount(1.0f);
    envelope.setSampleRate(48000.0f);
    std::array<float, PitchEnvelope::kDisplayPoints> curve{};
    envelope.fillDisplayCurve(curve);
    EXPECT_EQ(curve[0], 0.0f);
    for (std::size_t i = 1; i < curve.size(); ++i) {
        EXPECT_FLOAT_EQ(curve[i], 1.0f) << i;
    }

    envelope.setAmount(0.5f);
    envelope.setPower(1.0f);
    envelope.fillDisplayCurve(curve);
    const double remaining = 1.0 - (1.0 / 78.0 - 0.007);
    EXPECT_NEAR(curve[1], 0.5 * std::pow(remaining, 20.0), 1e-6);
    EXPECT_LT(curve[77], curve[39]);
}

TEST(FilterEnvelope, DisabledPassesTheCutoff) {
    const FilterEnvelope envelope;
    EXPECT_FALSE(envelope.isEnabled());
    EXPECT_EQ(envelope.getDuration(), 0.5f);
    EXPECT_EQ(envelope.value(0.0625f), 1.0f);
}

TEST(FilterEnvelope, EnabledMakesFourHumpsOverItsDuration) {
    FilterEnvelope envelope;
    envelope.setEnabled(true);
    envelope.setDuration(0.4f);
    EXPECT_FLOAT_EQ(envelope.value(0.0f), 1.0f);
    EXPECT_NEAR(envelope.value(0.05f), 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(envelope.value(0.1f), 1.0f);
    EXPECT_NEAR(envelope.value(0.025f), std::sqrt(0.5f), 1e-6f);
    EXPECT_EQ(envelope.value(0.4f), 1.0f);
    EXPECT_EQ(envelope.value(1.0f), 1.0f);
}

} // namespace
} // namespace Korvatune
