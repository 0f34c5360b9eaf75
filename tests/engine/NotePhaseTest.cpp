#include "VoiceTestSupport.h"

#include "engine/OscillatorPhase.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace Korvatune {
namespace {

TEST(OscillatorPhase, NegativePhasesReadThroughTheLowTwelveBits) {
    EXPECT_EQ(tableIndex(-5.5f), 4091);
    EXPECT_EQ(tableIndex(-0.75f), 0);
    EXPECT_EQ(tableIndex(-4095.5f), 1);
}

TEST(OscillatorPhase, WrappingKeepsTheTableEntryAndTheFraction) {
    for (float phase : {4096.0f, -4096.0f, -4100.5f, 123456.75f, -98765.25f, 1.0e9f}) {
        const float wrapped = wrapPhase(phase);
        EXPECT_LT(std::fabs(wrapped), 4096.0f) << phase;
        EXPECT_EQ(tableIndex(wrapped), static_cast<std::int64_t>(phase) & 4095) << phase;
        EXPECT_EQ(wrapped - std::trunc(wrapped), phase - std::trunc(phase)) << phase;
    }
    EXPECT_EQ(wrapPhase(-17.25f), -17.25f);
    EXPECT_EQ(wrapPhase(std::numeric_limits<float>::infinity()), 0.0f);
    EXPECT_EQ(wrapPhase(std::numeric_limits<float>::quiet_NaN()), 0.0f);
}

class NotePhase : public ::testing::Test {
protected:
    void SetUp() override {
        setOscillator(owner->program, 1, kOscVolume, 1.0f);
        note.setOwner(owner.get());
        note.setNoteNumber(57);
        note.start(127);
    }

    // Makes the note move an exactly representable number of table steps per sample.
    void setIncrement(float steps) {
        owner->noteFrequencies[57] = steps;
        owner->phaseScale = 1.0f;
    }

    std::unique_ptr<TestAudioEffect> owner = makeVoiceTestOwner();
    Note note;
};

TEST_F(NotePhase, ZeroPitchWithCentredFineTuneStandsStill) {
    setOscillator(owner->program, 1, kOscPitch, 0.0f);
    for (int step = 0; step < 1000; ++step) {
        stepVoice(note);
        ASSERT_EQ(note.getPhase(0), 0.0f) << step;
    }
    EXPECT_NE(note.getPhase(1), 0.0f);
}

TEST_F(NotePhase, NegativePhaseWrapsAndKeepsReadingTheTable) {
    setIncrement(20.0f);
    setOscillator(owner->program, 1, kOscPitch, 0.0f);
    setOscillator(owner->program, 1, kOscFreq, 0.25f);
    for (int step = 1; step <= 20000; ++step) {
        const StereoSample frame = note.renderFrame();
        ASSERT_TRUE(std::isfinite(frame.left) && std::isfinite(frame.right));
        stepVoice(note);
        ASSERT_EQ(note.getPhase(0), std::fmod(-0.25f * static_cast<float>(step), 4096.0f)) << step;
    }
}

TEST_F(NotePhase, LongNoteKeepsItsFraction) {
    // An unreduced phase would lose these quarter steps within a few thousand samples.
    setIncrement(1000.25f);
    std::int64_t quarterSteps = 0;
    for (int step = 1; step <= 300000; ++step) {
        stepVoice(note);
        quarterSteps = (quarterSteps + 4001) % (4 * 4096);
        ASSERT_EQ(note.getPhase(0), static_cast<float>(quarterSteps) / 4.0f) << step;
    }
}

TEST_F(NotePhase, PitchSpanFineTuneAndSweepAddUp) {
    setIncrement(5.0f);
    setOscillator(owner->program, 1, kOscPitch, 1.0f);
    setOscillator(owner->program, 2, kOscFreq, 1.0f);
    PitchEnvelope sweep;
    sweep.setAmount(1.0f);
    stepVoice(note, &sweep);
    const float offset = sweep.value(1.0f / 44100.0f) * 1.0594631f;
    EXPECT_GT(offset, 0.0f);
    EXPECT_FLOAT_EQ(note.getPhase(0), 10.0f + offset);
    EXPECT_FLOAT_EQ(note.getPhase(1), 5.5f + offset);
    EXPECT_FLOAT_EQ(note.getPhase(2), 5.0f + offset);
}

TEST_F(NotePhase, FrequencyModulationComesFromTheFirstModulator) {
    setIncrement(0.0f);
    setOscillator(owner->program, 1, kOscModFrequency, 0.1f);
    setOscillator(owner->program, 3, kOscModFrequency, 0.9f);
    setOscillator(owner->program, 1, kOscFreqModAmount, 1.0f);
    setOscillator(owner->program, 2, kOscFreqModAmount, 0.5f);
    stepVoice(note);
    // At rate 0.1 the first modulator starts at its peak of 0.5.
    EXPECT_NEAR(note.getPhase(0), 0.25f, 1e-6f);
    EXPECT_NEAR(note.getPhase(1), 0.125f, 1e-6f);
    EXPECT_EQ(note.getPhase(2), 0.0f);

    // An idle modulator counts as 1.
    setOscillator(owner->program, 1, kOscModFrequency, 0.0f);
    note.start(127);
    stepVoice(note);
    EXPECT_EQ(note.getPhase(0), 0.5f);
    EXPECT_EQ(note.getPhase(1), 0.25f);
}

} // namespace
} // namespace Korvatune
