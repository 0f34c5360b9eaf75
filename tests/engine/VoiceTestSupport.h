#pragma once

#include "TestAudioEffect.h"
#include "engine/Note.h"
#include "engine/PitchEnvelope.h"
#include "programs/ProgramKeys.h"

#include <memory>

namespace Korvatune {

// Waveform slot the voice tests fill with a shape of their own, independent of the builders.
inline constexpr int kTestWaveformIndex = 20;
inline constexpr float kTestWaveformValue = waveformValue(kTestWaveformIndex);

inline void setOscillator(VstXSynthProgram& program, int oscillator, ProgramKey key, float value) {
    program.setRawValue(oscillatorKey(oscillator, key), value);
}

inline void setAllOscillators(VstXSynthProgram& program, ProgramKey key, float value) {
    for (int oscillator = 1; oscillator <= Note::kOscillators; ++oscillator) {
        setOscillator(program, oscillator, key, value);
    }
}

// Oscillators at the note's pitch with no modulation, drawing the test waveform, all silent:
// a test turns up what it looks at.
inline void makeQuietProgram(VstXSynthProgram& program) {
    setAllOscillators(program, kOscWaveform, kTestWaveformValue);
    setAllOscillators(program, kOscVolume, 0.0f);
    setAllOscillators(program, kOscFreq, 0.5f);
    setAllOscillators(program, kOscPitch, 0.5f);
    setAllOscillators(program, kOscSat, 0.0f);
    setAllOscillators(program, kOscPan, 0.5f);
    setAllOscillators(program, kOscFilterType, 0.0f);
    setAllOscillators(program, kOscFilterCutoff, 1.0f);
    setAllOscillators(program, kOscFilterResonance, 0.0f);
    setAllOscillators(program, kOscInvertWaveform, 0.0f);
    setAllOscillators(program, kOscModFrequency, 0.0f);
    setAllOscillators(program, kOscRingModAmount, 0.0f);
    setAllOscillators(program, kOscFreqModAmount, 0.0f);
    setAllOscillators(program, kOscFiltModAmount, 0.0f);
}

// An owner whose test waveform is a lopsided wave with no zero at index 0.
inline std::unique_ptr<TestAudioEffect> makeVoiceTestOwner() {
    auto owner = makeTestOwner();
    float* table = owner->provider.getMutableTableAt(kTestWaveformIndex);
    for (int i = 0; i < WaveformProvider::kTableSize; ++i) {
        table[i] = 0.6f - static_cast<float>(i % 1024) / 1024.0f;
    }
    makeQuietProgram(owner->program);
    return owner;
}

// What the engine core does after each frame: advance, then the pitch sweep and pitch span.
inline void stepVoice(Note& note, const PitchEnvelope* pitchEnvelope = nullptr) {
    note.advance();
    const float offset =
        pitchEnvelope ? pitchEnvelope->value(note.elapsedSeconds()) * 1.0594631f : 0.0f;
    note.modulatePhases(offset, 2.0f * note.phaseIncrement());
}

} // namespace Korvatune
