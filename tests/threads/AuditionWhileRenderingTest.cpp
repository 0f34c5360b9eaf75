#include "plugin/VstXSynth.h"
#include "support/SynthDriver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace Korvatune {
namespace {

// The editor's thread asks for auditions while the audio thread renders without pause; built
// with ThreadSanitizer this proves the request crosses threads without a race. Each request is
// played: the note sounds at the end.
TEST(Concurrency, AuditionsRequestedWhileRendering) {
    testing::SynthDriver synth;
    VstXSynth& instrument = *static_cast<VstXSynth*>(AudioEffect::fromAeffect(synth.get()));
    constexpr int kRequests = 500;
    std::atomic<int> requests{0};
    std::atomic<int> blocks{0};
    std::thread editor([&] {
        for (int request = 0; request < kRequests; ++request) {
            // A few blocks between requests, so that the notes overlap as well as replace
            // unheard ones.
            const int until = blocks.load() + request % 3;
            while (blocks.load() < until) {
                std::this_thread::yield();
            }
            instrument.requestAudition();
            requests.fetch_add(1);
        }
    });
    while (requests.load() < kRequests) {
        synth.render(64);
        blocks.fetch_add(1);
    }
    editor.join();
    synth.render(64);
    float peak = testing::peakOf(synth.left);
    EXPECT_GT(peak, 0.0f);
    for (int voice = 0; voice < kNumVoices; ++voice) {
        if (!instrument.voice(voice).isIdle()) {
            EXPECT_EQ(instrument.voice(voice).getNoteNumber(), 36);
        }
    }
}

} // namespace
} // namespace Korvatune
