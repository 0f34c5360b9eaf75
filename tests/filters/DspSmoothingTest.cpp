#include "filters/DspButterworth.h"
#include "filters/DspChebyshevI.h"
#include "filters/DspDirectFormII.h"
#include "filters/DspRbj.h"
#include "filters/DspSmoothedFilterDesign.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using Dsp::DirectFormII;
using RbjLow = Dsp::SmoothedFilterDesign<Dsp::RBJ::Design::LowPass, 2, DirectFormII>;
using PlainRbjLow = Dsp::FilterDesign<Dsp::RBJ::Design::LowPass, 2, DirectFormII>;
using ButterLow = Dsp::SmoothedFilterDesign<Dsp::Butterworth::Design::LowPass<4>, 2, DirectFormII>;
using ButterHigh =
    Dsp::SmoothedFilterDesign<Dsp::Butterworth::Design::HighPass<4>, 2, DirectFormII>;
using ChebyLow = Dsp::SmoothedFilterDesign<Dsp::ChebyshevI::Design::LowPass<2>, 2, DirectFormII>;

constexpr double kRate = 44100.0;

struct Stereo {
    explicit Stereo(int frames, float value = 0.0f) : left(frames, value), right(frames, value) {}
    float* channels[2] = {nullptr, nullptr};
    float* const* pointers() {
        channels[0] = left.data();
        channels[1] = right.data();
        return channels;
    }
    std::vector<float> left;
    std::vector<float> right;
};

void processFrames(Dsp::Filter& filter, int frames, int blockSize) {
    Stereo block(blockSize);
    for (int done = 0; done < frames; done += blockSize) {
        filter.process(std::min(blockSize, frames - done), block.pointers());
    }
}

TEST(DspSmoothing, FirstSetTakesEffectOnTheNextSample) {
    RbjLow smoothed;
    PlainRbjLow plain;
    smoothed.setParameters({kRate, 500, 2});
    plain.setParameters({kRate, 500, 2});
    EXPECT_EQ(smoothed.getRemainingTransitionSamples(), 0);
    Stereo a(64, 0.0f);
    Stereo b(64, 0.0f);
    a.left[0] = b.left[0] = 1.0f;
    a.right[3] = b.right[3] = -0.5f;
    smoothed.process(64, a.pointers());
    plain.process(64, b.pointers());
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(a.right, b.right);
}

TEST(DspSmoothing, GlideTakesExactly1024SamplesAcrossShortBlocks) {
    RbjLow filter;
    filter.setParameters({kRate, 1000, 1});
    EXPECT_EQ(filter.getRemainingTransitionSamples(), 0);
    filter.setParameters({48000, 2000, 3});
    EXPECT_EQ(filter.getRemainingTransitionSamples(), 1024);
    EXPECT_EQ(filter.getTransitionParameters()[1], 1000.0);

    processFrames(filter, 512, 100);
    EXPECT_EQ(filter.getRemainingTransitionSamples(), 512);
    EXPECT_NEAR(filter.getTransitionParameters()[0], 46050.0, 1e-6);
    EXPECT_NEAR(filter.getTransitionParameters()[1], 1500.0, 1e-9);
    EXPECT_NEAR(filter.getTransitionParameters()[2], 2.0, 1e-12);

    processFrames(filter, 511, 7);
    EXPECT_EQ(filter.getRemainingTransitionSamples(), 1);
    EXPECT_NE(filter.getTransitionParameters()[1], 2000.0);
    processFrames(filter, 1, 1);
    EXPECT_EQ(filter.getRemainingTransitionSamples(), 0);
    const Dsp::Parameters expected{48000, 2000, 3};
    EXPECT_EQ(filter.getTransitionParameters(), expected);
}

TEST(DspSmoothing, GlideEndsInsideABlockAndTheRestUsesTheTarget) {
    RbjLow smoothed;
    smoothed.setParameters({kRate, 300, 1});
    smoothed.setParameters({kRate, 3000, 1});
    processFrames(smoothed, 1000, 1000);
    PlainRbjLow plain;
    plain.setParameters({kRate, 3000, 1});
    // Feeding both from rest after the glide: the smoothed one must use the target design.
    smoothed.reset();
    Stereo a(100);
    Stereo b(100);
    a.left[30] = b.left[30] = 1.0f;
    smoothed.process(100, a.pointers());
    plain.process(100, b.pointers());
    EXPECT_EQ(smoothed.getRemainingTransitionSamples(), 0);
    for (int i = 40; i < 100; ++i) {
        EXPECT_NEAR(a.left[i], b.left[i], 1e-6) << i;
    }
}

// Setting the same values again restarts the glide, which then runs the design in place.
TEST(DspSmoothing, GlideToTheSameValuesMatchesTheSettledFilter) {
    ButterLow repeated;
    ButterLow settled;
    repeated.setParameters({kRate, 4, 1500});
    settled.setParameters({kRate, 4, 1500});
    repeated.setParameters({kRate, 4, 1500});
    EXPECT_EQ(repeated.getRemainingTransitionSamples(), 1024);
    Stereo a(700, 0.0f);
    Stereo b(700, 0.0f);
    for (std::size_t i = 0; i < a.left.size(); ++i) {
        a.left[i] = b.left[i] = (i % 23 < 11 ? 0.6f : -0.7f);
        a.right[i] = b.right[i] = std::sin(0.09f * static_cast<float>(i));
    }
    repeated.process(700, a.pointers());
    settled.process(700, b.pointers());
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(a.right, b.right);
    EXPECT_EQ(repeated.getRemainingTransitionSamples(), 1024 - 700);
    EXPECT_EQ(repeated.getTransitionParameters()[2], 1500.0);
}

TEST(DspSmoothing, ChangeDuringAGlideRestartsFromTheCurrentValues) {
    ChebyLow filter;
    filter.setParameters({kRate, 2, 1000, 0.1});
    filter.setParameters({kRate, 2, 2000, 0.1});
    processFrames(filter, 512, 64);
    filter.setParameters({kRate, 2, 3500, 0.1});
    EXPECT_EQ(filter.getRemainingTransitionSamples(), 1024);
    EXPECT_NEAR(filter.getTransitionParameters()[2], 1500.0, 1e-9);
    processFrames(filter, 512, 128);
    EXPECT_NEAR(filter.getTransitionParameters()[2], 2500.0, 1e-9);
    EXPECT_EQ(filter.getTransitionParameters()[3], 0.1);
}

TEST(DspSmoothing, ResetClearsStatesButKeepsTheGlide) {
    ButterHigh filter;
    filter.setParameters({kRate, 4, 1000});
    filter.setParameters({kRate, 4, 2000});
    Stereo loud(300, 0.9f);
    filter.process(300, loud.pointers());
    const Dsp::Parameters during = filter.getTransitionParameters();
    filter.reset();
    EXPECT_EQ(filter.getRemainingTransitionSamples(), 1024 - 300);
    EXPECT_EQ(filter.getTransitionParameters(), during);
    Stereo silence(50);
    filter.process(50, silence.pointers());
    for (float sample : silence.left) {
        EXPECT_LT(std::abs(sample), 1e-6f);
    }
}

TEST(DspSmoothing, DcSettlesThroughTheLowPassAndVanishesThroughTheHighPass) {
    ButterLow low;
    low.setParameters({kRate, 4, 440});
    ButterHigh high;
    high.setParameters({kRate, 4, 440});
    Stereo a(8192, 0.5f);
    Stereo b(8192, 0.5f);
    low.process(8192, a.pointers());
    high.process(8192, b.pointers());
    EXPECT_NEAR(a.left.back(), 0.5f, 1e-6f);
    EXPECT_NEAR(a.right.back(), 0.5f, 1e-6f);
    EXPECT_NEAR(b.left.back(), 0.0f, 1e-6f);
}

TEST(DspSmoothing, SilenceGivesTinyAlternatingOutputButNoDenormals) {
    ButterLow filter;
    filter.setParameters({kRate, 4, 440});
    Stereo silence(44100);
    filter.process(44100, silence.pointers());
    bool anyNonZero = false;
    for (float sample : silence.left) {
        EXPECT_NE(std::fpclassify(sample), FP_SUBNORMAL);
        EXPECT_LT(std::abs(sample), 1e-6f);
        anyNonZero = anyNonZero || sample != 0.0f;
    }
    EXPECT_TRUE(anyNonZero);
}

} // namespace
