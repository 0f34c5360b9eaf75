#include "plugin/VstXSynth.h"
#include "support/SynthDriver.h"
#include "waveforms/WaveformTestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace Korvatune {
namespace {

using testfiles::rawFloats;
using testfiles::TemporaryDirectory;
using testfiles::writeBytes;
using testing::dispatch;
using testing::peakOf;
using testing::SynthDriver;

VstXSynth& synthOf(const SynthDriver& driver) {
    return *static_cast<VstXSynth*>(AudioEffect::fromAeffect(driver.get()));
}

VoiceState stateOf(const SynthDriver& driver, int voice) {
    return synthOf(driver).voice(voice).getState();
}

int noteOf(const SynthDriver& driver, int voice) {
    return synthOf(driver).voice(voice).getNoteNumber();
}

TEST(EngineCore, RetriggeredNoteReleasesTheOldVoiceAndTakesTheNextIdleOne) {
    SynthDriver synth;
    synth.noteOn(60);
    synth.render(64);
    EXPECT_EQ(stateOf(synth, 0), VoiceState::Hold);
    synth.noteOn(60);
    synth.render(1);
    EXPECT_EQ(stateOf(synth, 0), VoiceState::Release);
    EXPECT_EQ(noteOf(synth, 1), 60);
    EXPECT_NE(stateOf(synth, 1), VoiceState::Idle);
}

TEST(EngineCore, NinthNoteIsDroppedWithoutStealing) {
    SynthDriver synth;
    for (int i = 0; i < 8; ++i) {
        synth.noteOn(40 + i);
    }
    synth.render(8);
    synth.noteOn(70);
    synth.render(8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(noteOf(synth, i), 40 + i);
        EXPECT_NE(stateOf(synth, i), VoiceState::Release);
    }
    synth.noteOn(43);
    synth.render(1);
    EXPECT_EQ(stateOf(synth, 3), VoiceState::Release);
    EXPECT_EQ(noteOf(synth, 3), 43);
}

TEST(EngineCore, NoteOffVelocityZeroAndAnyChannelRelease) {
    SynthDriver synth;
    synth.noteOn(50);
    synth.noteOn(52);
    synth.render(16);
    synth.queue(0x93, 50, 0);
    synth.queue(0x8F, 52, 64);
    synth.render(1);
    EXPECT_EQ(stateOf(synth, 0), VoiceState::Release);
    EXPECT_EQ(stateOf(synth, 1), VoiceState::Release);
}

TEST(EngineCore, AllNotesOffAndMonoModeReleaseEverythingOtherControllersNothing) {
    for (unsigned char controller : {0x7B, 0x7E}) {
        SynthDriver synth;
        synth.noteOn(50);
        synth.noteOn(52);
        synth.render(16);
        synth.queue(0xB0, 64, 127);
        synth.queue(0xE0, 0, 127);
        synth.queue(0xB0, 121, 0);
        synth.render(1);
        EXPECT_NE(stateOf(synth, 0), VoiceState::Release);
        synth.queue(0xB5, controller, 0);
        synth.render(1);
        EXPECT_EQ(stateOf(synth, 0), VoiceState::Release);
        EXPECT_EQ(stateOf(synth, 1), VoiceState::Release);
        EXPECT_EQ(stateOf(synth, 2), VoiceState::Idle);
    }
}

TEST(EngineCore, EventBeyondTheBlockIsHandledAtItsFrameInALaterBlock) {
    SynthDriver synth;
    synth.noteOn(60, 127, 700);
    synth.render(512);
    synth.render(188);
    EXPECT_EQ(stateOf(synth, 0), VoiceState::Idle);
    synth.render(1);
    EXPECT_NE(stateOf(synth, 0), VoiceState::Idle);
}

TEST(EngineCore, DueEventsAreHandledInSlotOrder) {
    SynthDriver synth;
    synth.noteOn(60, 127, 0);
    synth.noteOn(62, 127, 600);
    synth.render(512);
    // Slot 0 is free again; the new event takes it and runs before the older one in slot 1.
    synth.noteOn(64, 127, 88);
    synth.render(512);
    EXPECT_EQ(noteOf(synth, 0), 60);
    EXPECT_EQ(noteOf(synth, 1), 64);
    EXPECT_EQ(noteOf(synth, 2), 62);
}

TEST(EngineCore, NegativeOffsetsDoNotLeakQueueSlots) {
    SynthDriver synth;
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 200; ++i) {
            synth.noteOff(30, -5);
        }
        synth.render(64);
    }
    synth.noteOn(60);
    synth.render(64);
    EXPECT_NE(stateOf(synth, 0), VoiceState::Idle);
}

TEST(EngineCore, QuantizationFloorIsWrittenBackOnlyWithEffectsOn) {
    SynthDriver synth;
    synth->setParameter(synth.get(), kQuantization, 0.0f);
    synth->setParameter(synth.get(), kBypassFX, 0.5f);
    synth.render(1);
    EXPECT_EQ(synth->getParameter(synth.get(), kQuantization), 0.0f);
    synth->setParameter(synth.get(), kBypassFX, 0.49f);
    synth.render(1);
    EXPECT_EQ(synth->getParameter(synth.get(), kQuantization), 0.001f);
}

TEST(EngineCore, VolumeAppliesAlsoWhenBypassedAndTheMeterFollows) {
    SynthDriver synth;
    synth->setParameter(synth.get(), kBypassFX, 1.0f);
    // Selecting program 0 at construction asks for a reset after the first block.
    synth.render(16);
    synth.noteOn(36);
    synth.render(2048);
    const float loud = peakOf(synth.left);
    ASSERT_GT(loud, 0.01f);
    EXPECT_FLOAT_EQ(synthOf(synth).getPeakLeft(), loud);

    synth->setParameter(synth.get(), kVolume, 0.0f);
    synth.render(512);
    EXPECT_EQ(peakOf(synth.left), 0.0f);
    EXPECT_EQ(peakOf(synth.right), 0.0f);
    EXPECT_FLOAT_EQ(synthOf(synth).getPeakLeft(), loud);

    dispatch(synth.get(), effSetProgram, 0, 0);
    synth.render(16);
    EXPECT_EQ(synthOf(synth).getPeakLeft(), 0.0f);
    EXPECT_EQ(synthOf(synth).getPeakRight(), 0.0f);
}

TEST(EngineCore, SampleRateChangesPhaseScaleAndIgnoresUnusableRates) {
    SynthDriver synth(48000.0f);
    VstXSynth& engine = synthOf(synth);
    EXPECT_EQ(engine.getPhaseScale(), 4096.0f / 48000.0f);
    for (float bad :
         {0.0f, -44100.0f, std::numeric_limits<float>::quiet_NaN(),
          std::numeric_limits<float>::infinity(), 1.0f, 999.9f, 1600000.2f,
          std::numeric_limits<float>::max(), std::numeric_limits<float>::denorm_min()}) {
        dispatch(synth.get(), effSetSampleRate, 0, 0, nullptr, bad);
    }
    EXPECT_EQ(engine.getPhaseScale(), 4096.0f / 48000.0f);
    EXPECT_EQ(engine.getSampleRate(), 48000.0f);
    for (float edge : {1000.0f, 1600000.0f}) {
        dispatch(synth.get(), effSetSampleRate, 0, 0, nullptr, edge);
        EXPECT_EQ(engine.getSampleRate(), edge);
        EXPECT_EQ(engine.getPhaseScale(), 4096.0f / edge);
    }
}

TEST(EngineCore, NoteFrequenciesFollowEqualTemperament) {
    SynthDriver synth;
    const float* frequencies = synthOf(synth).getNoteFrequencies();
    EXPECT_FLOAT_EQ(frequencies[0], 8.175798915636872f);
    EXPECT_NEAR(frequencies[69], 440.0f, 0.001f);
    EXPECT_NEAR(frequencies[127], 12543.85f, 0.05f);
}

TEST(EngineCore, AKickSoundsAndFadesToSilenceAfterTheRelease) {
    SynthDriver synth;
    synth.noteOn(36);
    synth.render(4410);
    EXPECT_GT(peakOf(synth.left), 0.05f);
    synth.noteOff(36);
    synth.render(1024);
    synth.render(4096);
    EXPECT_EQ(stateOf(synth, 0), VoiceState::Idle);
}

std::vector<float> renderInBlocks(int program, int blockSize, int total) {
    SynthDriver synth;
    dispatch(synth.get(), effSetProgram, 0, program);
    synth.noteOn(36);
    std::vector<float> rendered;
    for (int done = 0; done < total; done += blockSize) {
        synth.render(std::min(blockSize, total - done));
        rendered.insert(rendered.end(), synth.left.begin(), synth.left.end());
    }
    return rendered;
}

TEST(EngineCore, TheSoundDoesNotDependOnTheHostsBlockSize) {
    for (int program : {0, 25, 32, 41}) {
        const std::vector<float> small = renderInBlocks(program, 512, 10000);
        EXPECT_EQ(renderInBlocks(program, 4096, 10000), small) << "program " << program;
        EXPECT_EQ(renderInBlocks(program, 5000, 10000), small) << "program " << program;
        EXPECT_EQ(renderInBlocks(program, 37, 10000), small) << "program " << program;
    }
}

// The oscillator values are laid out for the voices once and kept while they stay the same, so
// this checks that a change between blocks, and the change back, reach sounding notes at once.
TEST(EngineCore, OscillatorKnobsMovedWhileANoteSoundsAreHeardInTheNextBlock) {
    constexpr int kLevel1 = 2;
    constexpr int kWave1 = 0;
    constexpr int kBypassEffects = 58;
    SynthDriver moved;
    SynthDriver still;
    for (SynthDriver* synth : {&moved, &still}) {
        // Without the effects no filter tail follows the voices.
        (*synth)->setParameter(synth->get(), kBypassEffects, 1.0f);
        synth->noteOn(36);
        synth->render(512);
    }
    moved->setParameter(moved.get(), kLevel1, 0.0f);
    moved.render(512);
    still.render(512);
    EXPECT_EQ(peakOf(moved.left), 0.0f);
    EXPECT_GT(peakOf(still.left), 0.05f);

    moved->setParameter(moved.get(), kLevel1, 1.0f);
    moved->setParameter(moved.get(), kWave1, 0.5f);
    moved.render(512);
    still.render(512);
    EXPECT_GT(peakOf(moved.left), 0.05f);
    EXPECT_NE(moved.left, still.left);
}

// Saturated oscillators read their arctangents from curves kept per table; a user waveform
// loaded between two notes must be heard in its new shape, as by an instance that had it from
// the start.
TEST(EngineCore, AUserWaveformLoadedBetweenNotesIsSaturatedInItsNewShape) {
    constexpr int kWave1 = 0;
    constexpr int kSaturation1 = 3;
    constexpr int kInvert1 = 9;
    constexpr int kBypassEffects = 58;
    constexpr float kUser1 = 20.0f / 29.0f;
    TemporaryDirectory directory;
    std::vector<float> shape(4096);
    for (std::size_t i = 0; i < shape.size(); ++i) {
        shape[i] = std::sin(0.013f * static_cast<float>(i)) * 0.7f;
    }
    writeBytes(directory.file("shape.raw"), rawFloats(shape));
    const auto loadShape = [&](SynthDriver& synth) {
        ASSERT_TRUE(synthOf(synth).getWaveformProvider()->loadUserWaveform(
            directory.file("shape.raw").c_str(), kUser1));
    };
    for (const float invert : {0.0f, 1.0f}) {
        SynthDriver loadedLater;
        SynthDriver loadedFirst;
        for (SynthDriver* synth : {&loadedLater, &loadedFirst}) {
            // Without the effects nothing of the first note lingers into the second.
            (*synth)->setParameter(synth->get(), kBypassEffects, 1.0f);
            (*synth)->setParameter(synth->get(), kWave1, kUser1);
            (*synth)->setParameter(synth->get(), kSaturation1, 0.4f);
            (*synth)->setParameter(synth->get(), kInvert1, invert);
        }
        loadShape(loadedFirst);
        loadedLater.noteOn(36);
        loadedLater.render(2048);
        ASSERT_GT(peakOf(loadedLater.left), 0.05f);
        loadedLater.noteOff(36);
        loadedLater.render(4096);
        loadedLater.render(512);
        ASSERT_EQ(peakOf(loadedLater.left), 0.0f);
        loadShape(loadedLater);
        for (SynthDriver* synth : {&loadedLater, &loadedFirst}) {
            synth->noteOn(36);
            synth->render(4096);
        }
        EXPECT_GT(peakOf(loadedFirst.left), 0.05f);
        EXPECT_EQ(loadedLater.left, loadedFirst.left) << "invert " << invert;
        EXPECT_EQ(loadedLater.right, loadedFirst.right) << "invert " << invert;
    }
}

} // namespace
} // namespace Korvatune
