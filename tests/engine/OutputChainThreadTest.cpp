#include "engine/OutputChain.h"
#include "tests/engine/OutputChainReference.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

namespace {

using Korvatune::OutputChain;
using Korvatune::OutputChainControls;
using Korvatune::VstXSynthProgram;
using OutputChainTesting::ReferenceChain;
using OutputChainTesting::Stereo;
namespace Expected = OutputChainTesting;

// Hammers every published setting from a second thread while the audio side keeps rendering.
void changeSettingsUntil(OutputChain& chain, const std::atomic<bool>& done) {
    VstXSynthProgram programs[2];
    programs[0].setValue(Korvatune::kFilterCutoff, 0.9f);
    programs[0].setValue(Korvatune::kDumpExpand, 0.1f);
    programs[1].setValue(Korvatune::kFilterResonance, 1.0f);
    programs[1].setValue(Korvatune::kDistortion, 0.6f);
    std::uint32_t seed = 99;
    for (int i = 0; !done.load(std::memory_order_relaxed); ++i) {
        const float value = 0.5f + 0.5f * Stereo::next(seed);
        chain.setParameter(Korvatune::kFilterCutoff, value);
        chain.setParameter(Korvatune::kFilterResonance, 1.0f - value);
        chain.setParameter(Korvatune::kDumpExpand, value);
        chain.setParameter(Korvatune::kDistortion, value * 0.5f);
        chain.setParameter(Korvatune::kDistortionType, value);
        chain.selectProgram(programs[i % 2]);
    }
}

TEST(OutputChainThreads, SettingsChangedWhileRenderingArriveWhole) {
    OutputChain chain;
    std::atomic<bool> done{false};
    std::thread writer(changeSettingsUntil, std::ref(chain), std::cref(done));
    const OutputChainControls controls{0.5f, 0.0f, 0.0f, 0.0f};
    const int blockSizes[] = {64, 128, 333, 512};
    for (int block = 0; block < 300; ++block) {
        Stereo signal = Stereo::noise(blockSizes[block % 4], 0.8f, block);
        chain.processBlock(signal.left.data(), signal.right.data(),
                           static_cast<int>(signal.left.size()), controls);
        for (float sample : signal.left) {
            ASSERT_TRUE(std::isfinite(sample));
            ASSERT_LE(std::abs(sample), 1.0f);
        }
    }
    done.store(true, std::memory_order_relaxed);
    writer.join();

    VstXSynthProgram last;
    last.setValue(Korvatune::kFilterCutoff, 0.5f);
    last.setValue(Korvatune::kFilterResonance, 0.2f);
    last.setValue(Korvatune::kDumpExpand, 0.6f);
    chain.selectProgram(last);
    ReferenceChain reference;
    reference.setGlobal(Expected::globalFrequency(0.5f, 44100.0f), Expected::globalQ(0.2f));
    reference.setDump(Expected::dumpLowCutoff(0.6f, 44100.0f),
                      Expected::dumpHighCutoff(0.6f, 44100.0f));

    // Whatever the history, once the last set is reached both forget it alike.
    const Stereo input = Stereo::noise(20000, 0.5f, 1234);
    const Stereo actual = Expected::render(chain, input, 500, controls);
    const Stereo expected = Expected::render(reference, input, 500, controls);
    for (int i = 19000; i < 20000; ++i) {
        ASSERT_NEAR(actual.left[i], expected.left[i], 1e-5f) << i;
        ASSERT_NEAR(actual.right[i], expected.right[i], 1e-5f) << i;
    }
}

} // namespace
