#include "clap/ClapPhrase.h"

#include <gtest/gtest.h>

#include <cmath>

namespace Korvatune {
namespace {

using testing::Notes;
using testing::sameBits;

class ClapSound : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(module.ready()) << testing::clapModuleUnderTest();
        ASSERT_NE(testing::vst2ModuleEntry(), nullptr) << testing::vst2ModuleUnderTest();
    }

    testing::ClapModule module;
};

// The output chain works per block, so each block size is compared with the same in VST 2.
TEST_F(ClapSound, PlaysAPhraseBitForBitAsTheVst2Module) {
    const testing::Overrides overrides = {{kFilterCutoff, 0.35f}, {kVolume, 0.7f}};
    for (const int program : {0, 18, 25, 32, 41}) {
        for (const float rate : {44100.0f, 48000.0f}) {
            for (const std::uint32_t block : {1u, 333u, 4096u}) {
                const std::vector<float> expected = testing::renderVst2(
                    testing::vst2ModuleEntry(), program, overrides, rate, block);
                const std::vector<float> played =
                    testing::renderClap(module, program, overrides, rate, block);
                EXPECT_GT(testing::peakOf(played), 0.05f);
                EXPECT_TRUE(sameBits(played, expected))
                    << "program " << program << ", " << rate << " Hz, blocks of " << block;
            }
        }
    }
}

// A host's own note events play as the MIDI notes they stand for.
TEST_F(ClapSound, NoteEventsPlayAsTheirMidiNotes) {
    for (const int program : {0, 32}) {
        for (const std::uint32_t block : {1u, 333u, 4096u}) {
            const std::vector<float> expected =
                testing::renderVst2(testing::vst2ModuleEntry(), program, {}, 44100.0f, block);
            EXPECT_TRUE(sameBits(
                testing::renderClap(module, program, {}, 44100.0, block, Notes::AsNoteEvents),
                expected))
                << "program " << program << ", blocks of " << block;
        }
    }
}

// Automation cuts the block where it falls, as a VST 2 host cuts its blocks: a list (the
// distortion type), a continuous value and the volume, on frames no block starts on.
TEST_F(ClapSound, ParameterEventsTakeEffectOnTheirFrames) {
    const std::vector<testing::TimedChange> changes = {{1001, kFilterCutoff, 0.2f},
                                                       {2345, kDistortionType, 3.0f / 24.0f},
                                                       {4099, kVolume, 0.5f},
                                                       {7777, kDistortion, 0.8f},
                                                       {7778, kFilterCutoff, 0.9f}};
    for (const int program : {0, 25}) {
        for (const float rate : {44100.0f, 48000.0f}) {
            for (const std::uint32_t block : {1u, 333u, 4096u}) {
                const std::vector<float> expected = testing::renderVst2(
                    testing::vst2ModuleEntry(), program, {}, rate, block, changes);
                const std::vector<float> played = testing::renderClap(
                    module, program, {}, rate, block, Notes::AsNoteEvents, changes);
                EXPECT_TRUE(sameBits(played, expected))
                    << "program " << program << ", " << rate << " Hz, blocks of " << block;
                EXPECT_FALSE(sameBits(played, testing::renderVst2(testing::vst2ModuleEntry(),
                                                                  program, {}, rate, block)))
                    << "the changes must be heard";
            }
        }
    }
}

// A preset the host loads plays as the VST 2 module plays its program.
TEST_F(ClapSound, EveryFactoryPresetPlaysItsProgram) {
    for (const int program : {0, 14, 25, 39, 44}) {
        EXPECT_TRUE(
            sameBits(testing::renderClap(module, program, {}, 44100.0, 512),
                     testing::renderVst2(testing::vst2ModuleEntry(), program, {}, 44100.0f, 512)))
            << program;
    }
}

TEST_F(ClapSound, RefusesSampleRatesItCannotPlay) {
    for (const double rate : {0.0, 500.0, 2.0e6}) {
        testing::TestHost host;
        testing::ClapInstance clap(module, host);
        ASSERT_NE(clap.plugin, nullptr);
        EXPECT_FALSE(clap.plugin->activate(clap.plugin, rate, 1, 512)) << rate;
    }
}

// More notes on one frame than the instrument's queue holds in a block: the block is rendered up
// to their frame so that the rest still reach the queue, and the notes on a later frame sound.
TEST_F(ClapSound, AFullEventQueueLosesNoLaterNote) {
    testing::TestHost host;
    testing::ClapInstance clap(module, host);
    ASSERT_TRUE(clap.activate(44100.0));
    ASSERT_TRUE(clap.loadProgram(32));
    testing::EventList events;
    for (int i = 0; i < 300; ++i) {
        events.add(testing::midiEvent(1, 0xB0, 1, static_cast<std::uint8_t>(i % 128)));
    }
    events.add(testing::noteEvent(Clap::kEventNoteOn, 100, 36, 1.0));
    EXPECT_EQ(clap.process(2048, events), Clap::kProcessContinue);
    const std::vector<float> beforeNote(clap.left.begin(), clap.left.begin() + 100);
    const std::vector<float> fromNote(clap.left.begin() + 100, clap.left.end());
    EXPECT_LT(testing::peakOf(beforeNote), 1.0e-3f);
    EXPECT_GT(testing::peakOf(fromNote), 0.1f);
}

// A block without its outputs cannot be rendered; its parameter values still count.
TEST_F(ClapSound, ABlockWithoutOutputsIsAnErrorButTakesItsValues) {
    testing::TestHost host;
    testing::ClapInstance clap(module, host);
    ASSERT_TRUE(clap.activate(44100.0));
    testing::EventList events;
    events.add(testing::paramEvent(0, kVolume, 0.25));
    const Clap::Process process{0, 64, nullptr,      nullptr,        nullptr,
                                0, 0,  events.get(), clap.sent.get()};
    EXPECT_EQ(clap.plugin->process(clap.plugin, &process), Clap::kProcessError);
    EXPECT_EQ(clap.value(kVolume), 0.25);
}

// Each round loads the module anew, plays and unloads it.
TEST(ClapModuleRounds, TwentyLoadsInTurnPlayAlike) {
    std::vector<float> first;
    for (int round = 0; round < 20; ++round) {
        testing::ClapModule module;
        ASSERT_TRUE(module.ready()) << round;
        testing::TestHost host;
        testing::ClapInstance clap(module, host);
        ASSERT_NE(clap.plugin, nullptr) << round;
        ASSERT_TRUE(clap.activate(44100.0, 512));
        ASSERT_TRUE(clap.loadProgram(32));
        testing::EventList events;
        events.add(testing::noteEvent(Clap::kEventNoteOn, 0, 36, 1.0));
        clap.process(512, events);
        events.clear();
        for (int block = 1; block < 8; ++block) {
            clap.process(512, events);
        }
        if (round == 0) {
            first = clap.left;
            EXPECT_GT(testing::peakOf(first), 0.1f);
        } else {
            EXPECT_TRUE(sameBits(clap.left, first)) << round;
        }
    }
}

} // namespace
} // namespace Korvatune
