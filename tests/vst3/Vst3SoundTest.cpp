#include "vst3/Vst2Reference.h"
#include "vst3/Vst3Phrase.h"

#include "plugin/InstrumentState.h"
#include "support/SameBits.h"

#include <gtest/gtest.h>

namespace Korvatune {
namespace {

using testing::sameBits;

class Vst3Sound : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(module.entered());
        ASSERT_NE(controller.midi.get(), nullptr);
    }

    std::vector<float> render(int program, const testing::Overrides& overrides, double rate,
                              std::uint32_t block,
                              const std::vector<testing::TimedChange>& automation = {}) {
        testing::Processor processor(module, rate);
        EXPECT_TRUE(processor.ready);
        return testing::playPhrase(processor, controller.midi.get(), program, overrides, block,
                                   automation);
    }

    testing::LoadedModule module;
    testing::Controller controller{module};
};

// The output chain works per block, so each block size is compared with the same in VST 2.
TEST_F(Vst3Sound, PlaysAPhraseBitForBitAsTheVst2Module) {
    const testing::Overrides overrides = {{kFilterCutoff, 0.35f}, {kVolume, 0.7f}};
    for (const int program : {0, 18, 25, 32, 41}) {
        for (const float rate : {44100.0f, 48000.0f}) {
            for (const std::uint32_t block : {1u, 333u, 4096u}) {
                const std::vector<float> expected =
                    testing::renderVst2(testing::vst2Entry(), program, overrides, rate, block);
                const std::vector<float> played = render(program, overrides, rate, block);
                EXPECT_GT(testing::peakOf(played), 0.05f);
                EXPECT_TRUE(sameBits(played, expected))
                    << "program " << program << ", " << rate << " Hz, blocks of " << block;
            }
        }
    }
}

// Each point takes effect on its own frame, as a VST 2 host that cuts its blocks there.
TEST_F(Vst3Sound, AutomationTakesEffectOnItsFrame) {
    const std::vector<testing::TimedChange> automation = {
        {1001, kFilterCutoff, 0.2f}, {2777, kVolume, 0.45f}, {4097, kFilterCutoff, 0.8f},
        {4097, kVolume, 0.9f},       {6501, kVolume, 0.3f},  {10003, kFilterCutoff, 0.05f},
    };
    for (const int program : {0, 25}) {
        for (const std::uint32_t block : {333u, 4096u}) {
            const std::vector<float> expected =
                testing::renderVst2(testing::vst2Entry(), program, {}, 44100.0f, block, automation);
            const std::vector<float> played = render(program, {}, 44100.0, block, automation);
            EXPECT_TRUE(sameBits(played, expected))
                << "program " << program << ", blocks of " << block;
            EXPECT_FALSE(sameBits(played, render(program, {}, 44100.0, block)))
                << "the automation changes the sound";
        }
    }
}

// Hosts repeat points of values that hold already; they must not cut the block.
TEST_F(Vst3Sound, RepeatedValuesLeaveTheBlockWhole) {
    const auto values = testing::vst2Values(testing::vst2Entry(), 32, {});
    std::vector<testing::TimedChange> repeats;
    for (const std::uint32_t frame : {17u, 1500u, 5003u}) {
        repeats.push_back({frame, kVolume, values[kVolume]});
        repeats.push_back({frame, kFilterCutoff, values[kFilterCutoff]});
    }
    EXPECT_TRUE(sameBits(render(32, {}, 44100.0, 4096, repeats),
                         testing::renderVst2(testing::vst2Entry(), 32, {}, 44100.0f, 4096)));
}

TEST_F(Vst3Sound, RefusesSampleRatesItCannotPlay) {
    for (const double rate : {0.0, 500.0, 2.0e6}) {
        testing::Processor processor(module, rate);
        EXPECT_FALSE(processor.ready) << rate;
    }
}

// A block of no samples, as hosts send to flush changes while stopped, still applies them.
TEST_F(Vst3Sound, AnEmptyBlockTakesItsChanges) {
    testing::Processor processor(module, 44100.0);
    testing::ParameterChanges changes;
    changes.add(kVolume, 0, 0.25);
    Vst3::ProcessData data{};
    data.symbolicSampleSize = Vst3::kSample32;
    data.inputParameterChanges = &changes;
    EXPECT_EQ(processor.audio->process(data), Vst3::kResultOk);
    const auto state = decodeStateRecord(processor.savedState());
    ASSERT_TRUE(state->values[kVolume].has_value());
    EXPECT_EQ(*state->values[kVolume], 0.25f);
}

// Each round loads the binary anew, plays and unloads it.
TEST(Vst3Module, TwentyRoundsInOneProcessPlayAlike) {
    std::vector<float> first;
    for (int round = 0; round < 20; ++round) {
        testing::LoadedModule module;
        ASSERT_TRUE(module.entered()) << round;
        testing::Controller controller(module);
        ASSERT_NE(controller.edit.get(), nullptr) << round;
        testing::Processor processor(module, 44100.0);
        ASSERT_TRUE(processor.ready) << round;
        testing::EventList events;
        events.addNote(true, 0, 0, 36, 127);
        testing::ParameterChanges changes;
        changes.add(Vst3::kProgramId, 0, 32.0 / Vst3::kLastProgram);
        processor.render(512, &events, &changes);
        for (int block = 1; block < 8; ++block) {
            processor.render(512);
        }
        if (round == 0) {
            first = processor.left;
            EXPECT_GT(testing::peakOf(first), 0.1f);
        } else {
            EXPECT_TRUE(sameBits(processor.left, first)) << round;
        }
    }
}

} // namespace
} // namespace Korvatune
