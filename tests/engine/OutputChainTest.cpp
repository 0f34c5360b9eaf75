#include "engine/OutputChain.h"
#include "tests/engine/OutputChainReference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using Korvatune::OutputChain;
using Korvatune::OutputChainControls;
using Korvatune::VstXSynthProgram;
using OutputChainTesting::ReferenceChain;
using OutputChainTesting::Stereo;
namespace Expected = OutputChainTesting;

struct ProgramSettings {
    float cutoff = 0.45f;
    float resonance = 0.3f;
    float distortion = 0.0f;
    float distortionType = 0.0f;
    float dumpExpand = 0.5f;
};

// A chain and a reference both given the program right after construction, as the engine does.
struct ChainPair {
    explicit ChainPair(const ProgramSettings& settings) {
        VstXSynthProgram program;
        program.setValue(Korvatune::kFilterCutoff, settings.cutoff);
        program.setValue(Korvatune::kFilterResonance, settings.resonance);
        program.setValue(Korvatune::kDistortion, settings.distortion);
        program.setValue(Korvatune::kDistortionType, settings.distortionType);
        program.setValue(Korvatune::kDumpExpand, settings.dumpExpand);
        chain.selectProgram(program);
        reference.setGlobal(Expected::globalFrequency(settings.cutoff, 44100.0f),
                            Expected::globalQ(settings.resonance));
        reference.setDump(Expected::dumpLowCutoff(settings.dumpExpand, 44100.0f),
                          Expected::dumpHighCutoff(settings.dumpExpand, 44100.0f));
        reference.distortion.setAmount(settings.distortion);
        reference.distortion.setType(settings.distortionType);
    }

    // Renders the same input through both, expects identical output and returns it.
    Stereo expectSameOutput(const Stereo& input, int blockSize,
                            const OutputChainControls& controls) {
        const Stereo actual = Expected::render(chain, input, blockSize, controls);
        const Stereo expected = Expected::render(reference, input, blockSize, controls);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.right, expected.right);
        return actual;
    }

    OutputChain chain;
    ReferenceChain reference;
};

float maxDifference(const std::vector<float>& a, const std::vector<float>& b) {
    float largest = 0.0f;
    for (std::size_t i = 0; i < a.size(); ++i) {
        largest = std::max(largest, std::abs(a[i] - b[i]));
    }
    return largest;
}

TEST(OutputChain, FilterTypeCrossfadesFromLowPassToHighPass) {
    const Stereo input = Stereo::noise(3000, 0.3f, 11);
    Stereo outputs[3];
    const float types[3] = {0.0f, 0.5f, 1.0f};
    for (int t = 0; t < 3; ++t) {
        ChainPair pair(ProgramSettings{});
        outputs[t] = pair.expectSameOutput(input, 256, {types[t], 0, 0, 0});
    }
    // The stages after the mix are linear for a quiet signal, so the middle is the mean.
    EXPECT_GT(maxDifference(outputs[0].left, outputs[2].left), 0.1f);
    for (int i = 0; i < 3000; ++i) {
        EXPECT_NEAR(outputs[1].left[i], 0.5f * (outputs[0].left[i] + outputs[2].left[i]), 1e-6f);
        EXPECT_NEAR(outputs[1].right[i], 0.5f * (outputs[0].right[i] + outputs[2].right[i]), 1e-6f);
    }
}

TEST(OutputChain, BandsAtZeroLeaveTheClippedSignalAndOtherwiseAddOnTop) {
    const Stereo loud = Stereo::noise(2048, 4.0f, 5);
    ChainPair silentBands(ProgramSettings{1.0f, 0.0f});
    const Stereo clipped = Expected::render(silentBands.chain, loud, 512, {0, 0, 0, 0});
    EXPECT_EQ(*std::max_element(clipped.left.begin(), clipped.left.end()), 1.0f);
    EXPECT_EQ(*std::min_element(clipped.right.begin(), clipped.right.end()), -1.0f);

    ChainPair bands(ProgramSettings{1.0f, 0.0f});
    bands.expectSameOutput(loud, 512, {0, 0.7f, 0.4f, 0.9f});
    ChainPair boosted(ProgramSettings{1.0f, 0.0f});
    const Stereo raised = Expected::render(boosted.chain, loud, 512, {0, 1.0f, 1.0f, 1.0f});
    EXPECT_GT(*std::max_element(raised.left.begin(), raised.left.end()), 1.0f);
}

TEST(OutputChain, DumpExpandMovesTheLowPassBelowAndTheHighPassAboveTheMiddle) {
    const Stereo input = Stereo::noise(4000, 0.5f, 21);
    for (float dumpExpand : {0.0f, 0.25f, 0.5f, 0.75f, 1.0f}) {
        SCOPED_TRACE(dumpExpand);
        ChainPair pair(ProgramSettings{1.0f, 0.0f, 0.0f, 0.0f, dumpExpand});
        pair.expectSameOutput(input, 400, {0, 0, 0, 0});
    }
    EXPECT_EQ(Expected::dumpHighCutoff(0.5f, 44100.0f), 10.0f);
    EXPECT_EQ(Expected::dumpLowCutoff(0.5f, 44100.0f),
              Korvatune::expCurve(1.0f) * 44100.0f * 0.49977f + 10.0f);
    EXPECT_EQ(Expected::dumpLowCutoff(0.0f, 44100.0f), 10.0f);
}

TEST(OutputChain, ParameterChangesAndDistortionFollowThePublishedSets) {
    ChainPair pair(ProgramSettings{0.6f, 0.2f, 0.3f, 0.5f, 0.4f});
    pair.expectSameOutput(Stereo::noise(1500, 0.4f, 3), 300, {0.3f, 0.2f, 0.0f, 0.1f});
    pair.chain.setParameter(Korvatune::kFilterCutoff, 0.3f);
    pair.chain.setParameter(Korvatune::kFilterResonance, 0.8f);
    pair.chain.setParameter(Korvatune::kDumpExpand, 0.7f);
    pair.chain.setParameter(Korvatune::kDistortionType, 1.0f);
    pair.reference.setGlobal(Expected::globalFrequency(0.3f, 44100.0f), Expected::globalQ(0.8f));
    pair.reference.setDump(Expected::dumpLowCutoff(0.7f, 44100.0f),
                           Expected::dumpHighCutoff(0.7f, 44100.0f));
    pair.reference.distortion.setType(1.0f);
    pair.expectSameOutput(Stereo::noise(1500, 0.4f, 4), 300, {0.3f, 0.2f, 0.0f, 0.1f});
}

TEST(OutputChain, LongBlocksGetTheWholeChainInPieces) {
    const ProgramSettings settings{0.5f, 0.5f, 0.4f, 0.3f, 0.6f};
    const OutputChainControls controls{0.4f, 0.5f, 0.3f, 0.2f};
    ChainPair whole(settings);
    ChainPair pieces(settings);
    const Stereo settle = Stereo::noise(2048, 0.5f, 8);
    Expected::render(whole.chain, settle, 512, controls);
    Expected::render(pieces.chain, settle, 512, controls);

    const Stereo input = Stereo::noise(4096 + 5000, 0.5f, 9);
    Stereo longBlocks = input;
    whole.chain.processBlock(longBlocks.left.data(), longBlocks.right.data(), 4096, controls);
    whole.chain.processBlock(longBlocks.left.data() + 4096, longBlocks.right.data() + 4096, 5000,
                             controls);
    const Stereo shortBlocks = Expected::render(pieces.chain, input, 512, controls);
    EXPECT_EQ(longBlocks.left, shortBlocks.left);
    EXPECT_EQ(longBlocks.right, shortBlocks.right);
}

TEST(OutputChain, SampleRateChangeKeepsCutoffsBelowTheNewNyquistInHertz) {
    ChainPair pair(ProgramSettings{0.5f, 0.1f, 0.0f, 0.0f, 0.3f});
    pair.expectSameOutput(Stereo::noise(1024, 0.5f, 1), 256, {0.5f, 0, 0, 0});
    pair.chain.setSampleRate(48000.0f);
    pair.reference.configure(48000.0, Expected::globalFrequency(0.5f, 44100.0f),
                             Expected::globalQ(0.1f), Expected::dumpLowCutoff(0.3f, 44100.0f),
                             Expected::dumpHighCutoff(0.3f, 44100.0f));
    pair.expectSameOutput(Stereo::noise(1024, 0.5f, 2), 256, {0.5f, 0, 0, 0});
    // Only a new value is computed with the new rate.
    pair.chain.setParameter(Korvatune::kFilterCutoff, 0.5f);
    pair.reference.setGlobal(Expected::globalFrequency(0.5f, 48000.0f), Expected::globalQ(0.1f));
    pair.expectSameOutput(Stereo::noise(1024, 0.5f, 3), 256, {0.5f, 0, 0, 0});
}

TEST(OutputChain, LowerSampleRateLowersCutoffsAboveTheNewNyquist) {
    ChainPair pair(ProgramSettings{1.0f, 0.2f, 0.0f, 0.0f, 1.0f});
    pair.expectSameOutput(Stereo::noise(2048, 0.5f, 1), 512, {0.5f, 0, 0, 0});
    pair.chain.setSampleRate(22050.0f);
    const float highestDump = Korvatune::expCurve(1.0f) * 22050.0f * 0.49977f + 10.0f;
    pair.reference.configure(22050.0, Expected::globalFrequency(1.0f, 22050.0f),
                             Expected::globalQ(0.2f), highestDump, highestDump);
    const Stereo input = Stereo::noise(4096, 0.5f, 2);
    pair.expectSameOutput(input, 512, {0.5f, 0, 0, 0});
}

TEST(OutputChain, ResumeClearsTheFilterMemory) {
    ChainPair pair(ProgramSettings{0.1f, 1.0f});
    Expected::render(pair.chain, Stereo::noise(2048, 1.0f, 4), 512, {0, 0, 0, 0});
    const Stereo silence = Stereo::noise(256, 0.0f, 0);
    ChainPair ringing(ProgramSettings{0.1f, 1.0f});
    Expected::render(ringing.chain, Stereo::noise(2048, 1.0f, 4), 512, {0, 0, 0, 0});
    const Stereo tail = Expected::render(ringing.chain, silence, 256, {0, 0, 0, 0});
    EXPECT_GT(std::abs(tail.left[10]), 1e-3f);

    pair.chain.resume();
    const Stereo cleared = Expected::render(pair.chain, silence, 256, {0, 0, 0, 0});
    for (float sample : cleared.left) {
        EXPECT_LT(std::abs(sample), 1e-6f);
    }
}

TEST(OutputChain, ValuesOutsideTheControlRangeKeepTheFiltersStable) {
    OutputChain chain;
    chain.setParameter(Korvatune::kFilterCutoff, 3.0f);
    chain.setParameter(Korvatune::kFilterResonance, -2.0f);
    chain.setParameter(Korvatune::kDumpExpand, std::nanf(""));
    const Stereo output =
        Expected::render(chain, Stereo::noise(8192, 0.5f, 6), 512, {0.5f, 0, 0, 0});
    for (float sample : output.left) {
        ASSERT_TRUE(std::isfinite(sample));
        ASSERT_LE(std::abs(sample), 1.0f);
    }
}

TEST(OutputChain, NonFiniteInputIsSilencedAndTheNextBlockSoundsNormally) {
    const ProgramSettings settings{0.3f, 0.8f, 0.4f, 0.5f, 0.6f};
    const OutputChainControls controls{0.3f, 0.5f, 0.5f, 0.5f};
    const Stereo clean = Stereo::noise(512, 0.5f, 7);
    Stereo spoiled = clean;
    spoiled.left[100] = std::nanf("");
    spoiled.right[300] = std::numeric_limits<float>::infinity();

    ChainPair poisoned(settings);
    const Stereo silenced = Expected::render(poisoned.chain, spoiled, 512, controls);
    ChainPair healthy(settings);
    const Stereo expected = Expected::render(healthy.chain, clean, 512, controls);
    for (std::size_t i = 0; i < silenced.left.size(); ++i) {
        ASSERT_TRUE(std::isfinite(silenced.left[i]) && std::isfinite(silenced.right[i])) << i;
    }
    EXPECT_EQ(silenced.left[99], expected.left[99]);
    EXPECT_EQ(silenced.left[100], 0.0f);

    // The poisoned chain restarts its filters; a healthy one told to resume does the same.
    healthy.chain.resume();
    const Stereo next = Stereo::noise(512, 0.5f, 8);
    const Stereo recovered = Expected::render(poisoned.chain, next, 512, controls);
    const Stereo resumed = Expected::render(healthy.chain, next, 512, controls);
    EXPECT_EQ(recovered.left, resumed.left);
    EXPECT_EQ(recovered.right, resumed.right);
}

} // namespace
