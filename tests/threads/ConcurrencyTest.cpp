#include "support/SynthDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <thread>
#include <vector>

namespace Korvatune {
namespace {

// A host's user-interface thread changes parameters, programs and reads texts while the audio
// thread renders; built with ThreadSanitizer this proves the shared state is race-free. (The
// sound itself is not judged: automating every parameter thousands of times a second is no
// musical use.)
TEST(Concurrency, ParametersAndProgramsChangeWhileRendering) {
    testing::SynthDriver synth;
    AEffect* effect = synth.get();
    std::atomic<bool> done{false};
    std::atomic<int> rounds{0};
    std::thread editor([&] {
        char text[64];
        for (int round = 0; !done.load(); round = ++rounds) {
            const int index = round % 60;
            effect->setParameter(effect, index, static_cast<float>(round % 100) / 100.0f);
            effect->getParameter(effect, index);
            testing::dispatch(effect, effGetParamDisplay, index, 0, text);
            if (round % 50 == 0) {
                testing::dispatch(effect, effSetProgram, 0, (round / 50) % 45);
            }
        }
    });
    int blocks = 0;
    for (; blocks < 300 || rounds.load() < 600; ++blocks) {
        if (blocks % 20 == 0) {
            synth.noteOn(36 + blocks % 24);
        }
        synth.render(256);
    }
    done = true;
    editor.join();
    EXPECT_GE(rounds.load(), 600);
    EXPECT_GE(blocks, 300);
}

// Hosts load instruments from several threads at once. The first instances race to build the
// process-wide tables; every instance must come out with the same sound all the same.
TEST(Concurrency, InstancesCreatedOnSeveralThreadsSoundAlike) {
    constexpr int kThreads = 4;
    std::array<std::vector<float>, kThreads> outputs;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&outputs, t] {
            testing::SynthDriver synth;
            testing::dispatch(synth.get(), effSetProgram, 0, 32);
            synth.noteOn(36);
            synth.render(2048);
            outputs[static_cast<std::size_t>(t)] = synth.left;
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_GT(*std::max_element(outputs[0].begin(), outputs[0].end()), 0.01f);
    for (int t = 1; t < kThreads; ++t) {
        EXPECT_EQ(outputs[static_cast<std::size_t>(t)], outputs[0]) << t;
    }
}

} // namespace
} // namespace Korvatune
