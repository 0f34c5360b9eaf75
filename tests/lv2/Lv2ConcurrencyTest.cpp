#include "lv2/Lv2TestDriver.h"
#include "plugin/lv2/Lv2Uris.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace Korvatune {
namespace {

testing::StateStore stateWithUser1(float level) {
    testing::Lv2Driver source;
    float* table = source.instrument->instrument().synth().getWaveformProvider()->getMutableTableAt(
        WaveformProvider::kFirstUserWaveform);
    for (int i = 0; i < WaveformProvider::kTableSize; ++i) {
        table[i] = i < WaveformProvider::kTableSize / 2 ? level : -level;
    }
    testing::StateStore state;
    state.saveFrom(*source.instrument);
    return state;
}

// The instrument lets hosts restore while it renders. A host thread restores and saves states
// while the audio thread plays a note on User1; built with ThreadSanitizer this proves the
// handover of the tables race-free. Every save holds the table just restored, delivered or not.
TEST(Lv2Concurrency, StatesRestoreAndSaveWhileRendering) {
    const testing::StateStore states[] = {stateWithUser1(0.5f), stateWithUser1(-0.25f)};
    testing::Lv2Driver lv2;
    lv2.controls[kOscWaveform] = waveformValue(WaveformProvider::kFirstUserWaveform);
    const LV2_URID user1 = lv2.urids.id((std::string(Lv2::kUserWaveformKeyPrefix) + "1").c_str());
    std::atomic<bool> done{false};
    std::atomic<int> rounds{0};
    std::atomic<int> mismatches{0};
    std::thread host([&] {
        for (int round = 0; !done.load(); round = ++rounds) {
            const testing::StateStore& restored = states[round % 2];
            testing::StateStore(restored).restoreInto(*lv2.instrument);
            testing::StateStore saved;
            saved.saveFrom(*lv2.instrument);
            if (saved.values[user1] != restored.values.at(user1)) {
                ++mismatches;
            }
        }
    });
    int blocks = 0;
    for (; blocks < 300 || rounds.load() < 100; ++blocks) {
        if (blocks % 20 == 0) {
            lv2.midi.add(0, {0x90, static_cast<std::uint8_t>(36 + blocks % 24), 127});
        }
        lv2.render(256);
    }
    done = true;
    host.join();
    EXPECT_EQ(mismatches.load(), 0);

    const testing::StateStore& last = states[(rounds.load() - 1) % 2];
    lv2.render(1);
    testing::StateStore final;
    final.saveFrom(*lv2.instrument);
    EXPECT_EQ(final.values[user1], last.values.at(user1));
    const float* table = lv2.instrument->instrument().synth().getWaveformProvider()->getTableAt(
        WaveformProvider::kFirstUserWaveform);
    EXPECT_EQ(table[0], rounds.load() % 2 == 1 ? 0.5f : -0.25f);
}

} // namespace
} // namespace Korvatune
