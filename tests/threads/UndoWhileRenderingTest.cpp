#include "editor/UndoHistory.h"
#include "support/SynthDriver.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <thread>
#include <vector>

namespace Korvatune {
namespace {

constexpr std::array<int, 4> kParameters = {1, 2, 45, 59};

struct Change {
    int index;
    float to;
};

// What the history should have done, kept apart from it: the recorded changes and how many of
// them are in effect.
struct ExpectedHistory {
    std::vector<Change> changes;
    std::size_t done = 0;

    void record(Change change) {
        changes.resize(done);
        changes.push_back(change);
        done = changes.size();
    }
    std::array<float, kParameters.size()> valuesFrom(std::array<float, kParameters.size()> start) {
        for (std::size_t i = 0; i < done; ++i) {
            for (std::size_t p = 0; p < kParameters.size(); ++p) {
                if (kParameters[p] == changes[i].index) {
                    start[p] = changes[i].to;
                }
            }
        }
        return start;
    }
};

// The editor's thread records, undoes and redoes parameter changes while the audio thread
// renders; built with ThreadSanitizer this proves the steps' actions are race-free, and the
// parameters must end exactly where the history says.
TEST(Concurrency, UndoAndRedoOfParametersWhileRendering) {
    testing::SynthDriver synth;
    AEffect* effect = synth.get();
    std::array<float, kParameters.size()> start{};
    for (std::size_t p = 0; p < kParameters.size(); ++p) {
        start[p] = effect->getParameter(effect, kParameters[p]);
    }
    std::atomic<bool> done{false};
    std::atomic<int> blocks{0};
    std::thread audio([&] {
        for (int block = 0; !done.load(); block = ++blocks) {
            if (block % 20 == 0) {
                synth.noteOn(36 + block % 24);
            }
            synth.render(256);
        }
    });
    while (blocks.load() == 0) {
        std::this_thread::yield();
    }

    UndoHistory history;
    ExpectedHistory expected;
    const auto change = [&](int index, float to) {
        const float from = effect->getParameter(effect, index);
        effect->setParameter(effect, index, to);
        history.record({[effect, index, from] { effect->setParameter(effect, index, from); },
                        [effect, index, to] { effect->setParameter(effect, index, to); }});
        expected.record({index, to});
    };
    for (int round = 0; round < 600 || blocks.load() < 100; ++round) {
        change(kParameters[static_cast<std::size_t>(round) % kParameters.size()],
               static_cast<float>((round * 37) % 101) / 100.0f);
        if (round % 3 == 2) {
            EXPECT_TRUE(history.undo());
            EXPECT_TRUE(history.undo());
            EXPECT_TRUE(history.redo());
            --expected.done;
        }
    }
    for (int step = 0; step < 30; ++step) {
        EXPECT_TRUE(history.undo());
    }
    for (int step = 0; step < 11; ++step) {
        EXPECT_TRUE(history.redo());
    }
    expected.done -= 30 - 11;
    done = true;
    audio.join();

    const auto values = expected.valuesFrom(start);
    for (std::size_t p = 0; p < kParameters.size(); ++p) {
        EXPECT_EQ(effect->getParameter(effect, kParameters[p]), values[p]) << kParameters[p];
    }
}

} // namespace
} // namespace Korvatune
