#include "filters/DspButterworth.h"
#include "filters/DspChannelState.h"
#include "filters/DspDirectFormII.h"
#include "filters/DspRbj.h"
#include "filters/DspSmoothedFilterDesign.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using BandDesign = Dsp::Butterworth::Design::BandPass<4>;
using StereoBand = Dsp::SmoothedFilterDesign<BandDesign, 2, Dsp::DirectFormII>;
using ScalarChannel = Dsp::ChannelState<Dsp::DirectFormII, BandDesign::CascadeType::maxSections>;

// The stereo filters run both channels in vector lanes; every sample must equal what one
// channel's scalar recursion gives, across blocks, a reset and the denormal guard's sign.
TEST(DspStereo, BothChannelsMatchTheScalarRecursionBitForBit) {
    const Dsp::Parameters parameters{44100.0, 4, 1000, 1777};
    StereoBand stereo;
    stereo.setParameters(parameters);
    BandDesign design;
    design.setup(parameters);
    ScalarChannel left;
    ScalarChannel right;

    int sample = 0;
    for (int block : {512, 1, 77, 300, 512}) {
        std::vector<float> l(static_cast<std::size_t>(block));
        std::vector<float> r(static_cast<std::size_t>(block));
        for (int i = 0; i < block; ++i, ++sample) {
            l[static_cast<std::size_t>(i)] = std::sin(0.031f * static_cast<float>(sample));
            r[static_cast<std::size_t>(i)] = (sample % 37 < 18 ? 0.7f : -0.6f);
        }
        std::vector<float> expectedLeft(l.size());
        std::vector<float> expectedRight(r.size());
        for (std::size_t i = 0; i < l.size(); ++i) {
            expectedLeft[i] = static_cast<float>(left.process(l[i], design.cascade()));
            expectedRight[i] = static_cast<float>(right.process(r[i], design.cascade()));
        }
        float* const channels[2] = {l.data(), r.data()};
        stereo.process(block, channels);
        ASSERT_EQ(l, expectedLeft) << block;
        ASSERT_EQ(r, expectedRight) << block;
        if (block == 77) {
            stereo.reset();
            left.reset();
            right.reset();
        }
    }
}

// During a glide the design changes every sample while both channels stay in vector lanes;
// each lane must still follow the scalar recursion through the same sequence of designs.
TEST(DspStereo, GlidingChannelsMatchTheScalarRecursionBitForBit) {
    using Design = Dsp::RBJ::Design::LowPass;
    using Channel = Dsp::ChannelState<Dsp::DirectFormII, Design::CascadeType::maxSections>;
    using Glide = Dsp::SmoothedFilterDesign<Design, 2, Dsp::DirectFormII>;
    const Dsp::Parameters start{44100.0, 300.0, 0.7};
    const Dsp::Parameters target{44100.0, 9000.0, 12.0};
    Glide stereo;
    stereo.setParameters(start);
    stereo.setParameters(target);

    constexpr int kFrames = Glide::kTransitionSamples + 200;
    std::vector<float> l(kFrames);
    std::vector<float> r(kFrames);
    for (int i = 0; i < kFrames; ++i) {
        l[static_cast<std::size_t>(i)] = std::sin(0.05f * static_cast<float>(i));
        r[static_cast<std::size_t>(i)] = (i % 29 < 14 ? 0.8f : -0.5f);
    }

    Channel left;
    Channel right;
    Design design;
    Dsp::Parameters transition = start;
    Dsp::Parameters step{};
    for (int p = 0; p < Design::parameters.count; ++p) {
        step[p] = (target[p] - start[p]) / Glide::kTransitionSamples;
    }
    std::vector<float> expectedLeft(l.size());
    std::vector<float> expectedRight(r.size());
    for (std::size_t i = 0; i < l.size(); ++i) {
        if (i < static_cast<std::size_t>(Glide::kTransitionSamples)) {
            for (int p = 0; p < Design::parameters.count; ++p) {
                transition[p] += step[p];
            }
            design.setup(transition);
        } else {
            design.setup(target);
        }
        expectedLeft[i] = static_cast<float>(left.process(l[i], design.cascade()));
        expectedRight[i] = static_cast<float>(right.process(r[i], design.cascade()));
    }

    float* const channels[2] = {l.data(), r.data()};
    stereo.process(kFrames, channels);
    EXPECT_EQ(l, expectedLeft);
    EXPECT_EQ(r, expectedRight);
    EXPECT_FALSE(stereo.isGliding());
}

} // namespace
