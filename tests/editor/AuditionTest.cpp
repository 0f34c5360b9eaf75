#include "plugin/VstXSynth.h"
#include "support/SynthDriver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ostream>
#include <vector>

namespace Korvatune {
namespace {

using testing::SynthDriver;

struct MidiAt {
    std::int64_t frame;
    unsigned char status;
    unsigned char note;
    unsigned char velocity;
};

struct Take {
    std::vector<float> left;
    std::vector<float> right;
};

VstXSynth& synthOf(const SynthDriver& driver) {
    return *static_cast<VstXSynth*>(AudioEffect::fromAeffect(driver.get()));
}

std::int64_t gateFrames(float rate) {
    return std::llround(kAuditionGateSeconds * rate);
}

// Renders one second in blocks; auditions are requested before the blocks starting at the
// given frames, the MIDI goes in at its exact frame as a host sends it.
Take play(float rate, int program, int blockSize, const std::vector<std::int64_t>& auditions,
          const std::vector<MidiAt>& midi) {
    SynthDriver synth(rate);
    testing::dispatch(synth.get(), effSetProgram, 0, program);
    const auto total = static_cast<std::int64_t>(rate);
    Take take;
    for (std::int64_t start = 0; start < total; start += blockSize) {
        const int frames = static_cast<int>(std::min<std::int64_t>(blockSize, total - start));
        for (std::int64_t frame : auditions) {
            if (frame == start) {
                synthOf(synth).requestAudition();
            }
        }
        for (const MidiAt& event : midi) {
            if (event.frame >= start && event.frame < start + frames) {
                synth.queue(event.status, event.note, event.velocity,
                            static_cast<int>(event.frame - start));
            }
        }
        synth.render(frames);
        take.left.insert(take.left.end(), synth.left.begin(), synth.left.end());
        take.right.insert(take.right.end(), synth.right.begin(), synth.right.end());
    }
    return take;
}

void expectSameSamples(const Take& actual, const Take& expected) {
    ASSERT_EQ(actual.left.size(), expected.left.size());
    EXPECT_GT(testing::peakOf(expected.left), 0.01f);
    for (std::size_t frame = 0; frame < expected.left.size(); ++frame) {
        ASSERT_EQ(actual.left[frame], expected.left[frame]) << "frame " << frame;
        ASSERT_EQ(actual.right[frame], expected.right[frame]) << "frame " << frame;
    }
}

struct Setting {
    float rate;
    int blockSize;
};

void PrintTo(const Setting& setting, std::ostream* out) {
    *out << setting.rate << " Hz, blocks of " << setting.blockSize;
}

class AuditionSound : public ::testing::TestWithParam<Setting> {};

// Program 18 keeps sounding past the gate, so its release is heard at the frame it falls on.
TEST_P(AuditionSound, IsTheHostsNoteOnAndNoteOffToTheSample) {
    const auto [rate, blockSize] = GetParam();
    const std::int64_t gate = gateFrames(rate);
    for (int program : {0, 18}) {
        SCOPED_TRACE(program);
        const Take audition = play(rate, program, blockSize, {0}, {});
        expectSameSamples(audition, play(rate, program, blockSize, {},
                                         {{0, 0x90, 36, 127}, {gate, 0x80, 36, 0}}));
        if (program == 18) {
            const Take late =
                play(rate, program, blockSize, {}, {{0, 0x90, 36, 127}, {gate + 1, 0x80, 36, 0}});
            EXPECT_NE(audition.left, late.left) << "the release frame must be heard";
        }
    }
}

// A second request restarts the note; the first one's release must not cut the second short.
TEST_P(AuditionSound, RequestWhilePlayingStartsTheNoteAnew) {
    const auto [rate, blockSize] = GetParam();
    const std::int64_t restart = static_cast<std::int64_t>(0.3 * rate) / blockSize * blockSize;
    const Take audition = play(rate, 18, blockSize, {0, restart}, {});
    expectSameSamples(audition, play(rate, 18, blockSize, {},
                                     {{0, 0x90, 36, 127},
                                      {restart, 0x90, 36, 127},
                                      {restart + gateFrames(rate), 0x80, 36, 0}}));
}

// The audition's release is its own: a host's note 36 struck over it keeps sounding, and a
// host's other note is not disturbed.
TEST_P(AuditionSound, LeavesTheHostsNotesAlone) {
    const auto [rate, blockSize] = GetParam();
    const std::int64_t hostNote = gateFrames(rate) / 2 + 7;
    const Take audition =
        play(rate, 18, blockSize, {0}, {{hostNote, 0x90, 36, 100}, {5, 0x90, 48, 90}});
    expectSameSamples(audition,
                      play(rate, 18, blockSize, {},
                           {{0, 0x90, 36, 127}, {hostNote, 0x90, 36, 100}, {5, 0x90, 48, 90}}));
}

INSTANTIATE_TEST_SUITE_P(RatesAndBlocks, AuditionSound,
                         ::testing::Values(Setting{44100.0f, 64}, Setting{44100.0f, 512},
                                           Setting{48000.0f, 64}, Setting{48000.0f, 512}),
                         [](const auto& info) {
                             return std::to_string(static_cast<int>(info.param.rate)) + "Hz" +
                                    std::to_string(info.param.blockSize) + "Frames";
                         });

// A request waits while the instrument does not render and plays from the block after.
TEST(Audition, WaitsForTheNextBlock) {
    SynthDriver synth;
    synthOf(synth).requestAudition();
    testing::dispatch(synth.get(), effMainsChanged, 0, 0);
    EXPECT_TRUE(synthOf(synth).voice(0).isIdle());
    testing::dispatch(synth.get(), effMainsChanged, 0, 1);
    synth.render(64);
    EXPECT_FALSE(synthOf(synth).voice(0).isIdle());
    EXPECT_EQ(synthOf(synth).voice(0).getNoteNumber(), 36);
}

} // namespace
} // namespace Korvatune
