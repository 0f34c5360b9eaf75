#include "support/SynthDriver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

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

} // namespace
} // namespace Korvatune
