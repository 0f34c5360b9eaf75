#include "filters/DspDirectFormII.h"
#include "filters/DspRbj.h"
#include "filters/DspSmoothedFilterDesign.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

using Low = Dsp::RBJ::Design::LowPass;
using High = Dsp::RBJ::Design::HighPass;
using SmoothedLow = Dsp::SmoothedFilterDesign<Low, 2, Dsp::DirectFormII>;
using SmoothedHigh = Dsp::SmoothedFilterDesign<High, 2, Dsp::DirectFormII>;

void expectSameBits(const Dsp::Biquad& actual, const Dsp::Biquad& expected) {
    const double a[6] = {actual.a0, actual.a1, actual.a2, actual.b0, actual.b1, actual.b2};
    const double e[6] = {expected.a0, expected.a1, expected.a2,
                         expected.b0, expected.b1, expected.b2};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(a[i]), std::bit_cast<std::uint64_t>(e[i])) << i;
    }
}

TEST(DspLockstepGlide, PairSetupGivesEachDesignsOwnBits) {
    for (double rate : {22050.0, 44100.0, 96000.0}) {
        for (double frequency = 20.0; frequency < 0.499 * rate; frequency *= 1.37) {
            for (double q : {0.5, 0.7071, 3.3, 15.5}) {
                const Dsp::Parameters p{rate, frequency, q};
                Low low;
                High high;
                Dsp::RBJ::Design::setupPair(low, high, p);
                Low ownLow;
                High ownHigh;
                ownLow.setup(p);
                ownHigh.setup(p);
                expectSameBits(low.cascade().section(0), ownLow.cascade().section(0));
                expectSameBits(high.cascade().section(0), ownHigh.cascade().section(0));
            }
        }
    }
}

struct Signal {
    std::vector<float> left;
    std::vector<float> right;
};

Signal testSignal(int frames) {
    Signal s{std::vector<float>(frames), std::vector<float>(frames)};
    for (int i = 0; i < frames; ++i) {
        s.left[i] = std::sin(0.037f * static_cast<float>(i));
        s.right[i] = (i % 23 < 11 ? 0.6f : -0.7f);
    }
    return s;
}

struct FilterPair {
    FilterPair() {
        low.setParameters({44100.0, 300.0, 0.7});
        high.setParameters({44100.0, 300.0, 0.7});
    }

    void set(const Dsp::Parameters& p) {
        low.setParameters(p);
        high.setParameters(p);
    }

    SmoothedLow low;
    SmoothedHigh high;
};

// Each filter runs its own process() on its own copy.
void runApart(FilterPair& pair, Signal& lows, Signal& highs, int start, int frames) {
    float* const l[2] = {lows.left.data() + start, lows.right.data() + start};
    float* const h[2] = {highs.left.data() + start, highs.right.data() + start};
    pair.low.process(frames, l);
    pair.high.process(frames, h);
}

// The glided frames together, the rest of the block (all of it when the filters do not glide in
// lockstep) each on its own.
int runTogether(FilterPair& pair, Signal& lows, Signal& highs, int start, int frames) {
    const int glided = pair.low.glideTogether(
        pair.high, frames,
        [](const Dsp::Parameters& p, Low& low, High& high) {
            Dsp::RBJ::Design::setupPair(low, high, p);
        },
        [&](int n, auto& low, auto& high) {
            const int i = start + n;
            Dsp::storeStereo(low.step(Dsp::loadStereo(lows.left.data(), lows.right.data(), i)),
                             lows.left.data(), lows.right.data(), i);
            Dsp::storeStereo(high.step(Dsp::loadStereo(highs.left.data(), highs.right.data(), i)),
                             highs.left.data(), highs.right.data(), i);
        });
    const int done = std::max(glided, 0);
    runApart(pair, lows, highs, start + done, frames - done);
    return glided;
}

// A glide started, restarted midway and ending inside a block, in blocks of uneven sizes: the
// filters glided together give the bits of each filter gliding on its own, and end with the
// same state and glide position.
TEST(DspLockstepGlide, GlidingTogetherGivesTheBitsOfGlidingApart) {
    constexpr int kFrames = 4000;
    const Signal input = testSignal(kFrames);
    FilterPair apart;
    FilterPair together;
    Signal apartLows = input, apartHighs = input, togetherLows = input, togetherHighs = input;
    const int blocks[] = {300, 1, 512, 77, 700, 512, 900, 998};
    int start = 0;
    int glidedFrames = 0;
    for (int b = 0; b < 8; ++b) {
        if (b == 0 || b == 3) {
            const Dsp::Parameters target{44100.0, b == 0 ? 9000.0 : 150.0, b == 0 ? 12.0 : 2.0};
            apart.set(target);
            together.set(target);
        }
        runApart(apart, apartLows, apartHighs, start, blocks[b]);
        glidedFrames +=
            std::max(0, runTogether(together, togetherLows, togetherHighs, start, blocks[b]));
        start += blocks[b];
    }
    ASSERT_EQ(start, kFrames);
    EXPECT_EQ(glidedFrames, 813 + SmoothedLow::kTransitionSamples);
    EXPECT_EQ(togetherLows.left, apartLows.left);
    EXPECT_EQ(togetherLows.right, apartLows.right);
    EXPECT_EQ(togetherHighs.left, apartHighs.left);
    EXPECT_EQ(togetherHighs.right, apartHighs.right);
    EXPECT_FALSE(together.low.isGliding());
    EXPECT_FALSE(together.high.isGliding());
}

TEST(DspLockstepGlide, FiltersOutOfStepOrSettledAreLeftAlone) {
    const Signal input = testSignal(64);
    Signal lows = input, highs = input;
    FilterPair settled;
    EXPECT_EQ(settled.low.glideTogether(
                  settled.high, 64, [](const Dsp::Parameters&, Low&, High&) {},
                  [](int, auto&, auto&) { ADD_FAILURE() << "a settled pair stepped"; }),
              -1);

    FilterPair differentTargets;
    differentTargets.low.setParameters({44100.0, 900.0, 0.7});
    differentTargets.high.setParameters({44100.0, 1900.0, 0.7});
    lows = input;
    highs = input;
    FilterPair reference;
    reference.low.setParameters({44100.0, 900.0, 0.7});
    reference.high.setParameters({44100.0, 1900.0, 0.7});
    EXPECT_EQ(runTogether(differentTargets, lows, highs, 0, 64), -1);
    Signal referenceLows = input, referenceHighs = input;
    runApart(reference, referenceLows, referenceHighs, 0, 64);
    EXPECT_EQ(lows.left, referenceLows.left);
    EXPECT_EQ(highs.right, referenceHighs.right);

    FilterPair oneAhead;
    oneAhead.set({44100.0, 5000.0, 0.7});
    float* const channels[2] = {lows.left.data(), lows.right.data()};
    oneAhead.low.process(1, channels);
    EXPECT_EQ(runTogether(oneAhead, lows, highs, 1, 63), -1);
    EXPECT_EQ(oneAhead.low.getRemainingTransitionSamples(), 1024 - 64);
    EXPECT_EQ(oneAhead.high.getRemainingTransitionSamples(), 1024 - 63);
}

} // namespace
