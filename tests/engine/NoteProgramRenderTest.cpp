#include "VoiceTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace Korvatune {
namespace {

// A busy program: saturation, inversion, resonance, both filters and every modulation.
void makeBusyProgram(VstXSynthProgram& program) {
    for (int k = 1; k <= Note::kOscillators; ++k) {
        const float spread = 0.3f * static_cast<float>(k);
        program.setValue(oscillatorKey(k, kOscVolume), 0.9f);
        program.setValue(oscillatorKey(k, kOscSat), spread);
        program.setValue(oscillatorKey(k, kOscFilterType), spread);
        program.setValue(oscillatorKey(k, kOscFilterCutoff), 0.5f);
        program.setValue(oscillatorKey(k, kOscFilterResonance), 0.9f);
        program.setValue(oscillatorKey(k, kOscModFrequency), spread);
        program.setValue(oscillatorKey(k, kOscRingModAmount), 0.5f);
        program.setValue(oscillatorKey(k, kOscFreqModAmount), 0.2f);
        program.setValue(oscillatorKey(k, kOscFiltModAmount), 0.4f);
    }
    program.setValue(oscillatorKey(2, kOscInvertWaveform), 1.0f);
    program.setValue(oscillatorKey(3, kOscPitch), 0.1f);
    program.setValue(oscillatorKey(3, kOscFreq), 0.2f);
}

TEST(NoteProgramRender, EveryWaveformRendersFiniteWithTheEnvelopeTiming) {
    auto owner = std::make_unique<TestAudioEffect>();
    VstXSynthProgram& program = owner->program;
    makeBusyProgram(program);
    PitchEnvelope sweep;
    sweep.setDuration(program.getValue(kPitchDuration));
    sweep.setAmount(program.getValue(kPitchAmount));
    sweep.setPower(program.getValue(kPitchPower));
    Note note;
    note.setOwner(owner.get());
    note.setNoteNumber(36);

    for (int waveform = 0; waveform < kNumWaveforms; ++waveform) {
        for (int k = 1; k <= Note::kOscillators; ++k) {
            program.setValue(oscillatorKey(k, kOscWaveform), waveformValue(waveform));
        }
        note.start(110);
        const StereoSample first = note.renderFrame();
        EXPECT_TRUE(first.left == 0.0f && first.right == 0.0f) << waveform;
        float peak = 0.0f;
        for (int step = 1; step <= 4000; ++step) {
            stepVoice(note, &sweep);
            if (step == 90) {
                EXPECT_EQ(note.getState(), VoiceState::Sustain) << waveform;
            }
            const StereoSample frame = note.renderFrame();
            ASSERT_TRUE(std::isfinite(frame.left) && std::isfinite(frame.right)) << waveform;
            peak = std::max({peak, std::fabs(frame.left), std::fabs(frame.right)});
        }
        EXPECT_GT(peak, 0.01f) << waveform;
        note.release();
        for (int step = 0; step < 441; ++step) {
            stepVoice(note, &sweep);
        }
        EXPECT_EQ(note.getState(), VoiceState::Release) << waveform;
        stepVoice(note, &sweep);
        EXPECT_TRUE(note.isIdle()) << waveform;
    }
}

} // namespace
} // namespace Korvatune
