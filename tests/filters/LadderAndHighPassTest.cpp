#include "filters/BiquadTweakedButterworthHP.h"
#include "filters/Filter_MoogVCF_variant1.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

namespace Korvatune {
namespace {

using HighPass = BiquadTweakedButterworthHP<float>;

// ---------------------------------------------------------------- ladder low-pass

TEST(LadderFilter, FreshFilterIsSilentAndLowPass) {
    Filter_MoogVCF_variant1 ladder;
    EXPECT_EQ(ladder.getMode(), Filter_MoogVCF_variant1::kLowPass);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(ladder.getStage(i), 0.0f);
    }
    EXPECT_EQ(ladder.process(0.0f, 0.5f, 0.5f), 0.0f);
}

TEST(LadderFilter, FirstSampleFollowsTheStagesByHand) {
    Filter_MoogVCF_variant1 ladder;
    // c = 0.5: q = 0.5, p = 0.7, f = 0.4; r = 0: k = 0.
    const float y = ladder.process(1.0f, 0.5f, 0.0f);
    EXPECT_FLOAT_EQ(ladder.getStageInputCoefficient(), 0.7f);
    EXPECT_FLOAT_EQ(ladder.getStageFeedbackCoefficient(), 0.4f);
    EXPECT_FLOAT_EQ(ladder.getStage(1), 0.7f);
    EXPECT_FLOAT_EQ(ladder.getStage(2), 0.49f);
    EXPECT_FLOAT_EQ(ladder.getStage(3), 0.343f);
    const float b4 = 0.2401f;
    EXPECT_FLOAT_EQ(y, b4 - b4 * b4 * b4 * 0.166667f);
    EXPECT_EQ(ladder.getStage(0), 1.0f);
}

TEST(LadderFilter, FeedbackGainDependsOnCutoff) {
    Filter_MoogVCF_variant1 ladder;
    ladder.process(0.0f, 0.5f, 1.0f);
    EXPECT_NEAR(ladder.getFeedbackGain(), 1.475f, 1e-6f);
    ladder.process(0.0f, 0.0f, 1.0f);
    EXPECT_NEAR(ladder.getFeedbackGain(), 3.8f, 1e-6f);
    ladder.process(0.0f, 0.0f, 0.5f);
    EXPECT_NEAR(ladder.getFeedbackGain(), 1.9f, 1e-6f);
    ladder.process(0.0f, 1.0f, 0.7f);
    EXPECT_FLOAT_EQ(ladder.getFeedbackGain(), 0.7f);
}

TEST(LadderFilter, CutoffZeroHoldsTheStagesAndIgnoresTheInput) {
    Filter_MoogVCF_variant1 a;
    Filter_MoogVCF_variant1 b;
    for (int i = 0; i < 50; ++i) {
        a.process(0.8f, 0.6f, 0.3f);
        b.process(0.8f, 0.6f, 0.3f);
    }
    const float b1 = a.getStage(1);
    const float b2 = a.getStage(2);
    const float b3 = a.getStage(3);
    ASSERT_NE(a.getStage(4), 0.0f);
    for (int i = 0; i < 200; ++i) {
        const float before = a.getStage(4);
        const float ya = a.process(static_cast<float>(i % 7) - 3.0f, 0.0f, 0.3f);
        const float yb = b.process(0.25f, 0.0f, 0.3f);
        EXPECT_EQ(ya, yb) << i;
        EXPECT_EQ(a.getStageInputCoefficient(), 0.0f);
        EXPECT_EQ(a.getStageFeedbackCoefficient(), -1.0f);
        EXPECT_EQ(a.getStage(1), b1);
        EXPECT_EQ(a.getStage(2), b2);
        EXPECT_EQ(a.getStage(3), b3);
        EXPECT_EQ(ya, before - before * before * before * 0.166667f);
        EXPECT_LT(std::fabs(ya), std::fabs(before));
    }
}

TEST(LadderFilter, CutoffOneWithoutResonanceIsInputPlusPreviousMinusOutput) {
    Filter_MoogVCF_variant1 ladder;
    const float inputs[] = {0.5f, -0.25f, 0.125f, 0.75f, -0.5f, 0.0f, 0.3f};
    float b[5] = {0, 0, 0, 0, 0};
    for (float x : inputs) {
        const float y = ladder.process(x, 1.0f, 0.0f);
        EXPECT_EQ(ladder.getStageInputCoefficient(), 1.0f);
        EXPECT_EQ(ladder.getStageFeedbackCoefficient(), 1.0f);
        float t1 = b[1];
        b[1] = (x + b[0]) - b[1];
        const float t2 = b[2];
        b[2] = (b[1] + t1) - b[2];
        t1 = b[3];
        b[3] = (b[2] + t2) - b[3];
        b[4] = (b[3] + t1) - b[4];
        b[4] = b[4] - b[4] * b[4] * b[4] * 0.166667f;
        b[0] = x;
        EXPECT_FLOAT_EQ(y, b[4]);
        EXPECT_FLOAT_EQ(ladder.getStage(1), b[1]);
    }
}

TEST(LadderFilter, SettlesNearAConstantInputWithoutResonance) {
    Filter_MoogVCF_variant1 ladder;
    float y = 0.0f;
    for (int i = 0; i < 2000; ++i) {
        y = ladder.process(0.1f, 0.3f, 0.0f);
    }
    // Unity gain at DC apart from the soft limiter's small pull.
    EXPECT_NEAR(y, 0.1f, 0.001f);
    EXPECT_LT(y, 0.1f);
}

TEST(LadderFilter, HighPassAndBandPassModes) {
    Filter_MoogVCF_variant1 low;
    Filter_MoogVCF_variant1 high;
    Filter_MoogVCF_variant1 band;
    high.setMode(Filter_MoogVCF_variant1::kHighPass);
    band.setMode(Filter_MoogVCF_variant1::kBandPass);
    for (int i = 0; i < 20; ++i) {
        const float x = std::sin(0.3f * static_cast<float>(i));
        const float yl = low.process(x, 0.4f, 0.5f);
        const float yh = high.process(x, 0.4f, 0.5f);
        const float yb = band.process(x, 0.4f, 0.5f);
        // All three share the state; the mode only selects the output.
        EXPECT_EQ(yl, low.getStage(4));
        EXPECT_EQ(yh, high.getStage(0) - high.getStage(4));
        EXPECT_EQ(yb, 3.0f * (band.getStage(3) - band.getStage(4)));
        EXPECT_EQ(low.getStage(4), high.getStage(4));
    }
}

TEST(LadderFilter, ResetClearsTheStateButKeepsTheMode) {
    Filter_MoogVCF_variant1 ladder;
    ladder.setMode(Filter_MoogVCF_variant1::kBandPass);
    for (int i = 0; i < 10; ++i) {
        ladder.process(0.9f, 0.5f, 0.9f);
    }
    ladder.reset();
    EXPECT_EQ(ladder.getMode(), Filter_MoogVCF_variant1::kBandPass);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(ladder.getStage(i), 0.0f);
    }
    EXPECT_EQ(ladder.getFeedbackGain(), 0.0f);
    EXPECT_EQ(ladder.getStageInputCoefficient(), 0.0f);
    EXPECT_EQ(ladder.getStageFeedbackCoefficient(), 0.0f);
}

// ---------------------------------------------------------------- high-pass

float controlCurve(float c) {
    float d = (std::exp(5.0f * c) - 1.0f) / 147.4132f;
    return d < 0.0f ? 0.0f : (d > 1.0f ? 1.0f : d);
}

// The cutoff control whose mapped cutoff is the given fraction of the sample rate.
float controlFor(double fraction) {
    const double d = fraction / 0.4777;
    return static_cast<float>(std::log(1.0 + d * 147.4132) / 5.0);
}

double magnitudeAt(const HighPass& filter, double fraction) {
    const std::complex<double> z1 = std::polar(1.0, -2.0 * M_PI * fraction);
    const std::complex<double> z2 = z1 * z1;
    const std::complex<double> num =
        double(filter.getB0()) + double(filter.getB1()) * z1 + double(filter.getB2()) * z2;
    const std::complex<double> den =
        1.0 + double(filter.getA1()) * z1 + double(filter.getA2()) * z2;
    return std::abs(num / den);
}

TEST(HighPassFilter, ConstructedWithTheLimitsAndZeroState) {
    HighPass filter;
    EXPECT_EQ(filter.getMaxFrequency(), 0.4777f);
    EXPECT_EQ(filter.getMinFrequency(), 0.0001f);
    EXPECT_EQ(filter.getLastCutoff(), 0.0f);
    EXPECT_EQ(filter.getWarped(), 0.0f);
    EXPECT_EQ(filter.getLastOutput(), 0.0f);
}

TEST(HighPassFilter, FirstSampleUsesHalfTheMappedCutoff) {
    HighPass filter;
    const float c = 0.6f;
    const float d = controlCurve(c);
    filter.process(0.0f, c, 0.0f);
    EXPECT_FLOAT_EQ(filter.getWarped(), std::tan(3.14159265f * (d / 2.0f * 0.4777f)));
    EXPECT_FLOAT_EQ(filter.getLastCutoff(), d);
    filter.process(0.0f, c, 0.0f);
    EXPECT_FLOAT_EQ(filter.getWarped(), std::tan(3.14159265f * (d * 0.4777f)));
}

TEST(HighPassFilter, CutoffZeroRunsAtTheLowerLimitAndOneAtTheUpper) {
    HighPass low;
    low.process(0.0f, 0.0f, 0.0f);
    low.process(0.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(low.getWarped(), std::tan(3.14159265f * 0.0001f));
    // About 4.4 Hz at 44100 Hz.
    EXPECT_NEAR(std::atan(double(low.getWarped())) / M_PI * 44100.0, 4.41, 0.01);

    HighPass high;
    high.process(0.0f, 1.0f, 0.0f);
    high.process(0.0f, 1.0f, 0.0f);
    // 147.4132 lies just above e^5 - 1, so d(1) is 1 to within a few float steps.
    EXPECT_NEAR(high.getLastCutoff(), 1.0f, 1e-6f);
    EXPECT_NEAR(high.getWarped(), std::tan(3.14159265f * 0.4777f), 1e-4f);
}

TEST(HighPassFilter, MappedCutoffIsClampedOutsideTheControlRange) {
    HighPass filter;
    filter.process(0.0f, -3.0f, 0.0f);
    EXPECT_EQ(filter.getLastCutoff(), 0.0f);
    filter.process(0.0f, 4.0f, 0.0f);
    EXPECT_EQ(filter.getLastCutoff(), 1.0f);
}

TEST(HighPassFilter, FullResonancePutsThePolesOnTheUnitCircle) {
    HighPass filter;
    for (int i = 0; i < 3; ++i) {
        filter.process(0.0f, 0.5f, 1.0f);
    }
    EXPECT_FLOAT_EQ(filter.getA2(), 1.0f);
}

TEST(HighPassFilter, WithoutResonanceItIsAButterworthHighPass) {
    HighPass filter;
    const double fraction = 0.05;
    const float c = controlFor(fraction);
    for (int i = 0; i < 3; ++i) {
        filter.process(0.0f, c, 0.0f);
    }
    EXPECT_NEAR(magnitudeAt(filter, 0.5), 1.0, 1e-5);
    EXPECT_NEAR(magnitudeAt(filter, fraction), std::sqrt(0.5), 1e-4);
    EXPECT_NEAR(magnitudeAt(filter, 0.0), 0.0, 1e-9);
    // Second order: -12 dB per octave well below the cutoff.
    EXPECT_NEAR(magnitudeAt(filter, fraction / 8.0) / magnitudeAt(filter, fraction / 16.0), 4.0,
                0.05);
}

TEST(HighPassFilter, ResonanceRaisesAPeakNearTheCutoff) {
    HighPass plain;
    HighPass resonant;
    const double fraction = 0.05;
    const float c = controlFor(fraction);
    for (int i = 0; i < 3; ++i) {
        plain.process(0.0f, c, 0.0f);
        resonant.process(0.0f, c, 0.8f);
    }
    EXPECT_GT(magnitudeAt(resonant, fraction), 2.0);
    EXPECT_LT(magnitudeAt(plain, fraction), 0.75);
}

TEST(HighPassFilter, SimulatedResponseMatchesTheDesign) {
    const double fraction = 0.1;
    const float c = controlFor(fraction);
    // Root-mean-square amplitude over whole periods once the transient has died away.
    auto amplitude = [c](double frequency) {
        HighPass filter;
        double sum = 0.0;
        double count = 0.0;
        for (int i = 0; i < 4000; ++i) {
            const float x = static_cast<float>(std::cos(2.0 * M_PI * frequency * i));
            const float y = filter.process(x, c, 0.0f);
            if (i >= 2000) {
                sum += double(y) * y;
                count += 1.0;
            }
        }
        return static_cast<float>(std::sqrt(2.0 * sum / count));
    };
    EXPECT_NEAR(amplitude(0.5), std::sqrt(2.0f), 1e-3f); // +-1 alternating: rms 1
    EXPECT_NEAR(amplitude(fraction), std::sqrt(0.5f), 2e-3f);
    EXPECT_LT(amplitude(0.0), 1e-6f); // DC is removed
}

TEST(HighPassFilter, ResetSetsTheLimitsAndClearsTheState) {
    HighPass filter(0.01f, 0.3f);
    EXPECT_EQ(filter.getMinFrequency(), 0.01f);
    EXPECT_EQ(filter.getMaxFrequency(), 0.3f);
    for (int i = 0; i < 10; ++i) {
        filter.process(0.5f, 0.7f, 0.4f);
    }
    filter.reset();
    EXPECT_EQ(filter.getMaxFrequency(), 0.4777f);
    EXPECT_EQ(filter.getMinFrequency(), 0.0001f);
    EXPECT_EQ(filter.getLastCutoff(), 0.0f);
    EXPECT_EQ(filter.getWarped(), 0.0f);
    EXPECT_EQ(filter.getLastInput(), 0.0f);
    EXPECT_EQ(filter.getLastOutput(), 0.0f);
    EXPECT_EQ(filter.getB0(), 0.0f);
    EXPECT_EQ(filter.getA2(), 0.0f);
    // A reset filter behaves like a new one.
    HighPass fresh;
    for (int i = 0; i < 10; ++i) {
        const float x = std::sin(0.2f * static_cast<float>(i));
        EXPECT_EQ(filter.process(x, 0.3f, 0.2f), fresh.process(x, 0.3f, 0.2f));
    }
}

// The design computed afresh for every sample, to check the filter's kept coefficients against.
struct HighPassReference {
    float lastCutoff = 0.0f;
    float x1 = 0.0f, x2 = 0.0f, y1 = 0.0f, y2 = 0.0f;
    float warped = 0.0f, b0 = 0.0f, a1 = 0.0f, a2 = 0.0f;

    float process(float x, float cutoff, float resonance) {
        const float d = controlCurve(cutoff);
        float fn = (d + lastCutoff) / 2.0f * 0.4777f;
        fn = fn < 0.0001f ? 0.0001f : fn;
        warped = std::tan(3.14159265358979323846f * fn);
        const float g = warped * (1.4142135f - resonance * 1.4142135f);
        const float h = warped * warped;
        const float n = 1.0f / (h + g + 1.0f);
        b0 = n;
        a1 = 2.0f * (h - 1.0f) * n;
        a2 = (h + 1.0f - g) * n;
        const float y = b0 * x + -2.0f * n * x1 + n * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        lastCutoff = d;
        return y;
    }
};

TEST(HighPassFilter, FollowsEveryChangeOfCutoffOrResonanceExactly) {
    struct Controls {
        float cutoff;
        float resonance;
        int samples;
    };
    // Held values, a resonance change under a held cutoff, a cutoff change under a held
    // resonance, a return to earlier values, and the curve's clamped ends.
    const Controls steps[] = {{0.6f, 0.2f, 5}, {0.6f, 0.7f, 4},  {0.3f, 0.7f, 4}, {0.6f, 0.2f, 3},
                              {1.0f, 0.0f, 3}, {-0.2f, 0.0f, 3}, {0.3f, 0.7f, 1}, {0.31f, 0.7f, 2}};
    HighPass filter;
    HighPassReference reference;
    int sample = 0;
    for (const Controls& step : steps) {
        for (int i = 0; i < step.samples; ++i, ++sample) {
            const float x = std::sin(0.37f * static_cast<float>(sample));
            const float expected = reference.process(x, step.cutoff, step.resonance);
            ASSERT_EQ(filter.process(x, step.cutoff, step.resonance), expected) << sample;
            ASSERT_EQ(filter.getWarped(), reference.warped) << sample;
            ASSERT_EQ(filter.getB0(), reference.b0) << sample;
            ASSERT_EQ(filter.getA1(), reference.a1) << sample;
            ASSERT_EQ(filter.getA2(), reference.a2) << sample;
        }
    }
}

TEST(HighPassFilter, ControlsThenRunIsOneProcessStep) {
    HighPass whole;
    HighPass split;
    for (int i = 0; i < 20; ++i) {
        const float x = std::cos(0.5f * static_cast<float>(i));
        const float cutoff = 0.2f + 0.03f * static_cast<float>(i % 7);
        split.setControls(cutoff, 0.4f);
        ASSERT_EQ(split.run(x), whole.process(x, cutoff, 0.4f)) << i;
    }
}

TEST(HighPassFilter, AResetFilterRebuildsItsCoefficientsForTheSameControls) {
    HighPass filter;
    const float first = filter.process(0.5f, 0.4f, 0.3f);
    filter.reset();
    EXPECT_EQ(filter.process(0.5f, 0.4f, 0.3f), first);
    EXPECT_NE(filter.getB0(), 0.0f);
}

// Filters sharing a design memo, one gliding and one held, two samples out of step: each must
// run exactly as it would alone.
TEST(HighPassFilter, SharedDesignMemoChangesNoFilterOutput) {
    HighPassDesignMemo<float> memo;
    HighPass gliding;
    HighPass held;
    gliding.shareDesignMemo(&memo);
    held.shareDesignMemo(&memo);
    HighPass glidingAlone;
    HighPass heldAlone;
    for (int n = 0; n < 600; ++n) {
        const float x = std::sin(0.05f * static_cast<float>(n));
        const float cutoff = 0.3f + 0.25f * std::sin(0.01f * static_cast<float>(n));
        const float resonance = n < 300 ? 0.2f : 0.6f;
        const float laggingCutoff = n % 50 < 25 ? 0.4f : cutoff;
        ASSERT_EQ(gliding.process(x, cutoff, resonance), glidingAlone.process(x, cutoff, resonance))
            << n;
        ASSERT_EQ(held.process(x, laggingCutoff, 0.2f), heldAlone.process(x, laggingCutoff, 0.2f))
            << n;
        ASSERT_EQ(held.getB0(), heldAlone.getB0()) << n;
        ASSERT_EQ(held.getWarped(), heldAlone.getWarped()) << n;
        if (n == 400) {
            held.reset();
            heldAlone.reset();
        }
    }
}

} // namespace
} // namespace Korvatune
