#include "VoiceTestSupport.h"

#include <gtest/gtest.h>

namespace Korvatune {
namespace {

class NoteEnvelope : public ::testing::Test {
protected:
    void SetUp() override {
        setOscillator(owner->program, 1, kOscVolume, 1.0f);
        note.setOwner(owner.get());
        note.setNoteNumber(48);
    }

    // Renders and steps as the engine core does until the state changes; returns the steps.
    int stepsUntilStateChanges() {
        const VoiceState before = note.getState();
        int steps = 0;
        while (note.getState() == before && steps < 100000) {
            note.renderFrame();
            stepVoice(note);
            ++steps;
        }
        return steps;
    }

    std::unique_ptr<TestAudioEffect> owner = makeVoiceTestOwner();
    Note note;
};

float releaseLevel(int step) {
    const float remaining = 1.0f - static_cast<float>(step) / 441.0f;
    return remaining * remaining;
}

TEST_F(NoteEnvelope, FirstFrameIsSilentThenRisesOverFortyFourSamples) {
    note.start(127);
    EXPECT_EQ(note.getState(), VoiceState::Attack);
    const StereoSample first = note.renderFrame();
    EXPECT_NE(note.getOscillatorOutput(0), 0.0f);
    EXPECT_EQ(first.left, 0.0f);
    EXPECT_EQ(first.right, 0.0f);
    for (int step = 1; step <= 44; ++step) {
        note.renderFrame();
        stepVoice(note);
        EXPECT_FLOAT_EQ(note.getEnvelopeLevel(), static_cast<float>(step) / 44.0f) << step;
        EXPECT_EQ(note.getState(), VoiceState::Attack);
    }
    stepVoice(note);
    EXPECT_EQ(note.getState(), VoiceState::Hold);
    EXPECT_EQ(note.getEnvelopeLevel(), 1.0f);
    EXPECT_EQ(stepsUntilStateChanges(), 45);
    EXPECT_EQ(note.getState(), VoiceState::Sustain);
    EXPECT_EQ(note.getEnvelopeLevel(), 1.0f);
}

TEST_F(NoteEnvelope, ReleaseFadesFromFullAndTurnsIdleAtTheFourHundredFortySecondStep) {
    note.start(127);
    for (int step = 0; step < 200; ++step) {
        stepVoice(note);
    }
    note.release();
    for (int step = 1; step <= 441; ++step) {
        stepVoice(note);
        EXPECT_FLOAT_EQ(note.getEnvelopeLevel(), releaseLevel(step)) << step;
        EXPECT_EQ(note.getState(), VoiceState::Release);
    }
    stepVoice(note);
    EXPECT_TRUE(note.isIdle());
    EXPECT_EQ(note.getEnvelopeLevel(), 0.0f);
    const StereoSample frame = note.renderFrame();
    EXPECT_EQ(frame.left, 0.0f);
    EXPECT_EQ(frame.right, 0.0f);
    EXPECT_EQ(note.getOscillatorOutput(0), 0.0f);
}

TEST_F(NoteEnvelope, ReleaseDuringAttackStartsFromFullLevel) {
    note.start(100);
    for (int step = 0; step < 10; ++step) {
        stepVoice(note);
    }
    note.release();
    stepVoice(note);
    EXPECT_EQ(note.getState(), VoiceState::Release);
    EXPECT_FLOAT_EQ(note.getEnvelopeLevel(), releaseLevel(1));
}

TEST_F(NoteEnvelope, SegmentLengthsKeepTheirConstructionRate) {
    note.setSampleRate(96000.0f);
    note.start(127);
    EXPECT_EQ(stepsUntilStateChanges(), 45);
    EXPECT_EQ(stepsUntilStateChanges(), 45);
    note.release();
    EXPECT_EQ(stepsUntilStateChanges(), 442);
}

TEST_F(NoteEnvelope, FrameIsThePannedSumScaledByVelocityAndLevel) {
    setOscillator(owner->program, 1, kOscPan, 0.2f);
    note.start(64);
    for (int step = 0; step < 20; ++step) {
        note.renderFrame();
        stepVoice(note);
    }
    const float gain = 64.0f / 127.0f;
    const float level = note.getEnvelopeLevel();
    ASSERT_FLOAT_EQ(level, 20.0f / 44.0f);
    const StereoSample frame = note.renderFrame();
    const float output = note.getOscillatorOutput(0);
    EXPECT_NE(output, 0.0f);
    EXPECT_FLOAT_EQ(frame.left, gain * (level * ((1.0f - 0.2f) * output)));
    EXPECT_FLOAT_EQ(frame.right, gain * (level * (0.2f * output)));
}

TEST_F(NoteEnvelope, ReleaseLeavesAnIdleVoiceIdle) {
    EXPECT_TRUE(note.isIdle());
    EXPECT_EQ(note.getNoteNumber(), 48);
    note.release();
    EXPECT_TRUE(note.isIdle());
}

TEST(NoteWithoutCollaborators, IsSilentAndLeavesPhasesUnmodulated) {
    Note orphan;
    orphan.setNoteNumber(60);
    orphan.start(127);
    const StereoSample orphanFrame = orphan.renderFrame();
    EXPECT_EQ(orphanFrame.left, 0.0f);
    stepVoice(orphan);
    EXPECT_EQ(orphan.getPhase(0), 0.0f);

    auto owner = makeVoiceTestOwner();
    setOscillator(owner->program, 1, kOscVolume, 1.0f);
    setOscillator(owner->program, 1, kOscFreq, 1.0f);
    owner->currentProgram = nullptr;
    Note programless;
    programless.setOwner(owner.get());
    programless.setNoteNumber(60);
    programless.start(127);
    const StereoSample programlessFrame = programless.renderFrame();
    EXPECT_EQ(programlessFrame.right, 0.0f);
    stepVoice(programless);
    EXPECT_EQ(programless.getPhase(0), programless.phaseIncrement());
}

} // namespace
} // namespace Korvatune
