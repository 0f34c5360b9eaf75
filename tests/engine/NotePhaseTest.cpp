#include "VoiceTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace Korvatune {
namespace {

class NotePhase : public ::testing::Test {
protected:
    void SetUp() override {
        setOscillator(owner->program, 1, kOscVolume, 1.0f);
        note.setOwner(owner.get());
        note.setNoteNumber(57);
        note.start(127);
    }

    std::unique_ptr<TestAudioEffect> owner = makeVoiceTestOwner();
    Note note;
};

TEST_F(NotePhase, ZeroPitchWithCentredFineTuneStandsStill) {
    setOscillator(owner->program, 1, kOscPitch, 0.0f);
    note.renderFrame();
    const float firstOutput = note.getOscillatorOutput(0);
    for (int step = 0; step < 1000; ++step) {
        stepVoice(note);
        EXPECT_EQ(note.getPhase(0), 0.0f) << step;
    }
    EXPECT_NE(note.getPhase(1), 0.0f);
    EXPECT_NE(firstOutput, 0.0f);
}

TEST_F(NotePhase, NegativePhaseWrapsAndKeepsReadingTheTable) {
    owner->noteFrequencies[57] = 20.0f;
    owner->phaseScale = 1.0f;
    setOscillator(owner->program, 1, kOscPitch, 0.0f);
    setOscillator(owner->program, 1, kOscFreq, 0.25f);
    for (int step = 1; step <= 20000; ++step) {
        const StereoSample frame = note.renderFrame();
        ASSERT_TRUE(std::isfinite(frame.left) && std::isfinite(frame.right));
        stepVoice(note);
        const float expected = std::fmod(-0.25f * static_cast<float>(step), 4096.0f);
        ASSERT_EQ(note.getPhase(0), expected) << step;
    }
}

TEST_F(NotePhase, LongNoteKeepsItsFraction) {
    // 1000.25 steps per sample: exact in float, while an unreduced phase would lose the
    // quarter steps within a few thousand samples.
    owner->noteFrequencies[57] = 1000.25f;
    owner->phaseScale = 1.0f;
    std::int64_t quarterSteps = 0;
    for (int step = 1; step <= 300000; ++step) {
        stepVoice(note);
        quarterSteps = (quarterSteps + 4001) % (4 * 4096);
        ASSERT_EQ(note.getPhase(0), static_cast<float>(quarterSteps) / 4.0f) << step;
    }
}

TEST_F(NotePhase, PitchControlsScaleTheNoteAndFineTuneAddsHalfAStep) {
    setOscillator(owner->program, 1, kOscPitch, 1.0f);
    setOscillator(owner->program, 2, kOscPitch, 0.5f);
    setOscillator(owner->program, 2, kOscFreq, 1.0f);
    owner->noteFrequencies[57] = 40.0f;
    owner->phaseScale = 0.125f;
    stepVoice(note);
    EXPECT_EQ(note.getPhase(0), 10.0f);
    EXPECT_EQ(note.getPhase(1), 5.5f);
    EXPECT_EQ(note.getPhase(2), 5.0f);
}

TEST_F(NotePhase, PitchEnvelopeOffsetMovesEveryOscillator) {
    owner->noteFrequencies[57] = 0.0f;
    PitchEnvelope sweep;
    sweep.setAmount(1.0f);
    stepVoice(note, &sweep);
    const float offset = sweep.value(1.0f / 44100.0f) * 1.0594631f;
    EXPECT_GT(offset, 0.0f);
    for (int oscillator = 0; oscillator < Note::kOscillators; ++oscillator) {
        EXPECT_EQ(note.getPhase(oscillator), offset);
    }
}

TEST_F(NotePhase, FrequencyModulationComesFromTheFirstModulator) {
    owner->noteFrequencies[57] = 0.0f;
    setOscillator(owner->program, 1, kOscModFrequency, 0.1f);
    setOscillator(owner->program, 2, kOscModFrequency, 0.0f);
    setOscillator(owner->program, 3, kOscModFrequency, 0.9f);
    setOscillator(owner->program, 1, kOscFreqModAmount, 1.0f);
    setOscillator(owner->program, 2, kOscFreqModAmount, 0.5f);
    stepVoice(note);
    // At rate 0.1 the first modulator starts at its peak of 0.5.
    EXPECT_NEAR(note.getPhase(0), 0.25f, 1e-6f);
    EXPECT_NEAR(note.getPhase(1), 0.125f, 1e-6f);
    EXPECT_EQ(note.getPhase(2), 0.0f);

    setOscillator(owner->program, 1, kOscModFrequency, 0.0f);
    note.start(127);
    stepVoice(note);
    EXPECT_EQ(note.getPhase(0), 0.5f);
    EXPECT_EQ(note.getPhase(1), 0.25f);
}

} // namespace
} // namespace Korvatune
