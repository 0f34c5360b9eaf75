#include "VoiceTestSupport.h"

#include <gtest/gtest.h>

namespace Korvatune {
namespace {

class NoteEnvelope : public ::testing::TestWithParam<float> {
protected:
    void SetUp() override {
        setOscillator(owner->program, 1, kOscVolume, 1.0f);
        note.setOwner(owner.get());
        note.setSampleRate(GetParam());
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

TEST_P(NoteEnvelope, SilentFirstFrameThenAttackHoldAndReleaseOfFixedLengths) {
    note.start(127);
    const StereoSample first = note.renderFrame();
    EXPECT_NE(note.getOscillatorOutput(0), 0.0f);
    EXPECT_EQ(first.left, 0.0f);
    EXPECT_EQ(first.right, 0.0f);
    stepVoice(note);
    EXPECT_FLOAT_EQ(note.getEnvelopeLevel(), 1.0f / 44.0f);
    EXPECT_EQ(stepsUntilStateChanges(), 44);
    EXPECT_EQ(note.getState(), VoiceState::Hold);
    EXPECT_EQ(stepsUntilStateChanges(), 45);
    EXPECT_EQ(note.getState(), VoiceState::Sustain);
    EXPECT_EQ(note.getEnvelopeLevel(), 1.0f);

    note.release();
    stepVoice(note);
    EXPECT_FLOAT_EQ(note.getEnvelopeLevel(), releaseLevel(1));
    EXPECT_EQ(stepsUntilStateChanges(), 441);
    EXPECT_TRUE(note.isIdle());
    const StereoSample idle = note.renderFrame();
    EXPECT_EQ(idle.left, 0.0f);
    EXPECT_EQ(idle.right, 0.0f);
    note.release();
    EXPECT_TRUE(note.isIdle());
}

TEST_P(NoteEnvelope, ReleaseDuringAttackStartsFromFullLevel) {
    note.start(100);
    for (int step = 0; step < 10; ++step) {
        stepVoice(note);
    }
    note.release();
    stepVoice(note);
    EXPECT_EQ(note.getState(), VoiceState::Release);
    EXPECT_FLOAT_EQ(note.getEnvelopeLevel(), releaseLevel(1));
}

INSTANTIATE_TEST_SUITE_P(SampleRates, NoteEnvelope, ::testing::Values(44100.0f, 96000.0f));

TEST(NoteWithoutCollaborators, IsSilentAndLeavesPhasesUnmodulated) {
    Note orphan;
    orphan.start(127);
    EXPECT_EQ(orphan.renderFrame().left, 0.0f);
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
    EXPECT_EQ(programless.renderFrame().right, 0.0f);
    stepVoice(programless);
    EXPECT_EQ(programless.getPhase(0), programless.phaseIncrement());
}

} // namespace
} // namespace Korvatune
