#include "TestAudioEffect.h"
#include "engine/Note.h"
#include "engine/PitchEnvelope.h"
#include "programs/ProgramKeys.h"

#include <gtest/gtest.h>

#include <cmath>

namespace Korvatune {
namespace {

struct RenderResult {
    bool firstFrameSilent = false;
    bool finite = true;
    float peak = 0.0f;
    int attackAndHoldSteps = 0;
    int releaseSteps = 0;
};

// Plays one note through the engine core's per-sample sequence: frame, advance, pitch sweep.
class NoteRenderer {
public:
    NoteRenderer(Note& voice, const PitchEnvelope& sweep) : note(voice), pitchEnvelope(sweep) {}

    RenderResult play(int sustainFrames) {
        RenderResult result;
        note.start(110);
        const StereoSample first = frame(result);
        result.firstFrameSilent = first.left == 0.0f && first.right == 0.0f;
        step();
        while (note.getState() != VoiceState::Sustain && result.attackAndHoldSteps < 1000) {
            frame(result);
            step();
            ++result.attackAndHoldSteps;
        }
        for (int i = 0; i < sustainFrames; ++i) {
            frame(result);
            step();
        }
        note.release();
        while (!note.isIdle() && result.releaseSteps < 1000) {
            frame(result);
            step();
            ++result.releaseSteps;
        }
        return result;
    }

private:
    StereoSample frame(RenderResult& result) {
        const StereoSample rendered = note.renderFrame();
        result.finite =
            result.finite && std::isfinite(rendered.left) && std::isfinite(rendered.right);
        result.peak =
            std::fmax(result.peak, std::fmax(std::fabs(rendered.left), std::fabs(rendered.right)));
        return rendered;
    }

    void step() {
        note.advance();
        const float offset = pitchEnvelope.value(note.elapsedSeconds()) * 1.0594631f;
        note.modulatePhases(offset, 2.0f * note.phaseIncrement());
    }

    Note& note;
    const PitchEnvelope& pitchEnvelope;
};

TEST(NoteProgramRender, EveryWaveformRendersFiniteWithTheEnvelopeTiming) {
    auto owner = makeTestOwner();
    VstXSynthProgram& program = owner->program;
    // A busy program: saturation, inversion, resonance, both filters and all modulations.
    for (int oscillator = 1; oscillator <= 3; ++oscillator) {
        program.setValue(oscillatorKey(oscillator, kOscVolume), 0.9f);
        program.setValue(oscillatorKey(oscillator, kOscSat), 0.25f * oscillator);
        program.setValue(oscillatorKey(oscillator, kOscFilterType), 0.3f * oscillator);
        program.setValue(oscillatorKey(oscillator, kOscFilterCutoff), 0.5f);
        program.setValue(oscillatorKey(oscillator, kOscFilterResonance), 0.9f);
        program.setValue(oscillatorKey(oscillator, kOscModFrequency), 0.3f * oscillator);
        program.setValue(oscillatorKey(oscillator, kOscRingModAmount), 0.5f);
        program.setValue(oscillatorKey(oscillator, kOscFreqModAmount), 0.2f);
        program.setValue(oscillatorKey(oscillator, kOscFiltModAmount), 0.4f);
    }
    program.setValue(oscillatorKey(2, kOscInvertWaveform), 1.0f);
    program.setValue(oscillatorKey(3, kOscPitch), 0.1f);
    program.setValue(oscillatorKey(3, kOscFreq), 0.2f);

    PitchEnvelope pitchEnvelope;
    pitchEnvelope.setDuration(program.getValue(kPitchDuration));
    pitchEnvelope.setAmount(program.getValue(kPitchAmount));
    pitchEnvelope.setPower(program.getValue(kPitchPower));

    Note note;
    note.setOwner(owner.get());
    note.setNoteNumber(36);
    NoteRenderer renderer(note, pitchEnvelope);
    for (int waveform = 0; waveform < kNumWaveforms; ++waveform) {
        for (int oscillator = 1; oscillator <= 3; ++oscillator) {
            program.setValue(oscillatorKey(oscillator, kOscWaveform), waveformValue(waveform));
        }
        const RenderResult result = renderer.play(4000);
        EXPECT_TRUE(result.firstFrameSilent) << waveform;
        EXPECT_TRUE(result.finite) << waveform;
        EXPECT_GT(result.peak, 0.01f) << waveform;
        EXPECT_EQ(result.attackAndHoldSteps, 89) << waveform;
        EXPECT_EQ(result.releaseSteps, 442) << waveform;
    }
}

} // namespace
} // namespace Korvatune
