#include "lv2/Lv2TestDriver.h"
#include "plugin/lv2/MidiMessage.h"
#include "support/SameBits.h"
#include "support/SynthDriver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace Korvatune {
namespace {

using Bytes = std::vector<std::uint8_t>;

using testing::sameBits;

void append(std::vector<float>& all, const std::vector<float>& block) {
    all.insert(all.end(), block.begin(), block.end());
}

// The LV2 ports set to what a VST 2 instance holds.
void copyParameters(AEffect* effect, testing::Lv2Driver& lv2) {
    for (int index = 0; index < kNumProgramKeys; ++index) {
        lv2.controls[static_cast<std::size_t>(index)] = effect->getParameter(effect, index);
    }
}

TEST(MidiMessage, TakesOnlyOneCompleteMessage) {
    const struct {
        Bytes bytes;
        bool taken;
    } cases[] = {
        {{0x90, 60, 100}, true},
        {{0x83, 60, 0}, true},
        {{0xE1, 0, 64}, true},
        {{0xC0, 5}, true},
        {{0xD2, 9}, true},
        {{0xF8}, true},
        {{0xF2, 1, 2}, true},
        {{}, false},
        {{0x90, 60}, false},
        {{0x90, 60, 100, 0}, false},
        {{0x90, 200, 100}, false},
        {{60, 100}, false},
        {{0xC0, 5, 0}, false},
        {{0xF0, 1, 0xF7}, false},
        {{0xF7}, false},
        {{0xF4}, false},
        {{0xB0, 0x7B, 0x80}, false},
    };
    for (const auto& c : cases) {
        const auto message =
            Lv2::midiMessageOf(c.bytes.data(), static_cast<std::uint32_t>(c.bytes.size()));
        EXPECT_EQ(message.has_value(), c.taken) << ::testing::PrintToString(c.bytes);
        if (message) {
            EXPECT_TRUE(std::equal(c.bytes.begin(), c.bytes.end(), message->bytes.begin()));
        }
    }
}

TEST(Lv2Instantiate, RefusesUnusableRatesAndHostsWithoutAUridMap) {
    testing::UridMap& urids = testing::Lv2Driver::hostUrids();
    const LV2_Feature* features[] = {urids.mapFeature(), nullptr};
    for (const double rate : {0.0, 999.0, -44100.0, 1.7e6, std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(Lv2::Lv2Instrument::create(rate, "", features), nullptr) << rate;
    }
    for (const double rate : {1000.0, 44100.0, 1.6e6}) {
        EXPECT_NE(Lv2::Lv2Instrument::create(rate, "", features), nullptr) << rate;
    }
    const LV2_Feature* noMap[] = {nullptr};
    EXPECT_EQ(Lv2::Lv2Instrument::create(44100.0, "", noMap), nullptr);
    EXPECT_EQ(Lv2::Lv2Instrument::create(44100.0, "", nullptr), nullptr);
}

// Malformed MIDI and atoms of other types are skipped; what remains plays as from a VST 2 host.
TEST(Lv2Run, SkipsMalformedMidiAndOtherAtoms) {
    testing::SynthDriver vst2;
    testing::dispatch(vst2.get(), effSetProgram, 0, 32);
    testing::Lv2Driver lv2;
    copyParameters(vst2.get(), lv2);
    std::vector<float> expected;
    std::vector<float> played;
    for (int block = 0; block < 12; ++block) {
        if (block == 0) {
            vst2.queue(0x90, 36, 127, 10);
            vst2.queue(0xB1, 1, 90, 100);
            vst2.queue(0xE0, 0, 100, 200);
            lv2.midi.add(10, {0x90, 36, 127});
            lv2.midi.addAtom(20, lv2.urids.id("urn:ombrafell:test#Other"), {0x80, 36, 0});
            lv2.midi.add(30, {0x80, 36});
            lv2.midi.add(40, {0xF0, 0x7E, 0x80, 0xF7});
            lv2.midi.add(50, {36, 0});
            lv2.midi.add(60, {0x80, 0xA4, 0});
            lv2.midi.add(100, {0xB1, 1, 90});
            lv2.midi.add(200, {0xE0, 0, 100});
        }
        vst2.render(512);
        lv2.render(512);
        append(expected, vst2.left);
        append(played, lv2.left);
    }
    EXPECT_GT(testing::peakOf(played), 0.1f);
    EXPECT_TRUE(sameBits(played, expected));
}

// A program change lands on its frame, and the ports, which still show the old program, do not
// undo it at the next block; a port the host then moves does apply.
TEST(Lv2Run, AProgramChangeTakesEffectOnItsFrameAndStaysChosen) {
    testing::SynthDriver vst2;
    testing::Lv2Driver lv2;
    vst2.noteOn(36, 127, 0);
    vst2.render(1000);
    std::vector<float> expected = vst2.left;
    testing::dispatch(vst2.get(), effSetProgram, 0, 25);
    vst2.render(3096);
    append(expected, vst2.left);
    vst2.render(4096);
    append(expected, vst2.left);

    lv2.midi.add(0, {0x90, 36, 127});
    lv2.midi.add(1000, {0xC3, 25});
    lv2.render(4096);
    std::vector<float> played = lv2.left;
    lv2.render(4096);
    append(played, lv2.left);
    EXPECT_TRUE(sameBits(played, expected));
    VstXSynth& synth = lv2.instrument->instrument().synth();
    EXPECT_EQ(synth.getProgram(), 25);
    EXPECT_EQ(synth.getParameter(kQuantization), synth.program(25).getValue(kQuantization));

    lv2.controls[kVolume] = 0.5f;
    lv2.render(64);
    EXPECT_EQ(synth.getParameter(kVolume), 0.5f);
    EXPECT_EQ(synth.getParameter(kQuantization), synth.program(25).getValue(kQuantization));
}

// Events of an empty block wait for the next; blocks of any length play as from a VST 2 host.
TEST(Lv2Run, BlocksOfNoneOneAndManyFrames) {
    testing::SynthDriver vst2(48000.0f);
    testing::dispatch(vst2.get(), effSetProgram, 0, 41);
    testing::Lv2Driver lv2(48000.0);
    copyParameters(vst2.get(), lv2);
    lv2.midi.add(0, {0x90, 45, 100});
    lv2.render(0);
    EXPECT_TRUE(lv2.left.empty());
    vst2.noteOn(45, 100, 0);
    std::vector<float> expected;
    std::vector<float> played;
    for (const std::uint32_t frames : {1u, 5000u, 0u, 333u, 9000u}) {
        if (frames > 0) {
            vst2.render(static_cast<int>(frames));
            append(expected, vst2.left);
        }
        lv2.render(frames);
        append(played, lv2.left);
    }
    EXPECT_GT(testing::peakOf(played), 0.1f);
    EXPECT_TRUE(sameBits(played, expected));
}

// The instrument queues 256 events at a time; a block with more is cut where the queue is full
// rather than losing the note that follows a stream of controllers.
TEST(Lv2Run, AFullEventQueueCutsTheBlockInsteadOfDroppingNotes) {
    testing::SynthDriver vst2;
    testing::Lv2Driver lv2;
    for (int frame = 0; frame < 300; ++frame) {
        lv2.midi.add(frame, {0xB0, 1, static_cast<std::uint8_t>(frame % 128)});
        if (frame < EventQueue::kSlots) {
            vst2.queue(0xB0, 1, static_cast<unsigned char>(frame % 128), frame);
        }
    }
    lv2.midi.add(1000, {0x90, 36, 127});
    lv2.render(4096);
    vst2.render(EventQueue::kSlots);
    std::vector<float> expected = vst2.left;
    for (int frame = EventQueue::kSlots; frame < 300; ++frame) {
        vst2.queue(0xB0, 1, static_cast<unsigned char>(frame % 128), frame - EventQueue::kSlots);
    }
    vst2.noteOn(36, 127, 1000 - EventQueue::kSlots);
    vst2.render(4096 - EventQueue::kSlots);
    append(expected, vst2.left);
    EXPECT_GT(testing::peakOf(lv2.left), 0.1f);
    EXPECT_TRUE(sameBits(lv2.left, expected));
}

} // namespace
} // namespace Korvatune
