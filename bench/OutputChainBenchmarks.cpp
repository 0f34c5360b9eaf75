#include "RealtimeCounters.h"
#include "engine/OutputChain.h"
#include "programs/FactoryBank.h"
#include "programs/VstXSynthProgram.h"

#include <array>
#include <memory>
#include <random>

namespace Korvatune::bench {
namespace {

constexpr int kHeavyProgram = 32;

struct ChainFixture {
    ChainFixture() : bank(std::make_unique<VstXSynthProgram[]>(kNumPrograms)) {
        loadFactoryBank(std::span<VstXSynthProgram, kNumPrograms>(bank.get(), kNumPrograms));
        chain.setSampleRate(static_cast<float>(kSampleRate));
        chain.selectProgram(bank[kHeavyProgram]);
        std::mt19937 random(7);
        std::uniform_real_distribution<float> noise(-0.8f, 0.8f);
        for (float& sample : input) {
            sample = noise(random);
        }
    }

    void process() {
        left = input;
        right = input;
        chain.processBlock(left.data(), right.data(), kBlockFrames, controls);
        benchmark::DoNotOptimize(left.data());
    }

    std::unique_ptr<VstXSynthProgram[]> bank;
    OutputChain chain;
    OutputChainControls controls{0.8f, 0.3f, 0.3f, 0.3f};
    std::array<float, kBlockFrames> input{}, left{}, right{};
};

// The block stages at rest: every glide has finished.
void outputChainSettled(benchmark::State& state) {
    ChainFixture fixture;
    for (int block = 0; block < 8; ++block) {
        fixture.process();
    }
    measureBlocks(state, [&] { fixture.process(); });
}

// A cutoff move before every block keeps the global filter gliding, rebuilding its design on
// every sample.
void outputChainGliding(benchmark::State& state) {
    ChainFixture fixture;
    bool up = false;
    measureBlocks(state, [&] {
        up = !up;
        fixture.chain.setParameter(51, up ? 0.6f : 0.2f);
        fixture.process();
    });
}

BENCHMARK(outputChainSettled);
BENCHMARK(outputChainGliding);

} // namespace
} // namespace Korvatune::bench
