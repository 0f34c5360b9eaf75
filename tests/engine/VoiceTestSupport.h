#pragma once

#include "engine/IAudioEffect.h"
#include "engine/Note.h"
#include "engine/PitchEnvelope.h"
#include "programs/ProgramKeys.h"
#include "programs/VstXSynthProgram.h"
#include "waveforms/WaveformProvider.h"

#include <array>
#include <memory>

namespace Korvatune {

// A minimal owner for voices: real waveform tables, the note frequency table and a program
// record the test edits. Heap-allocate it; the tables are large.
class TestAudioEffect final : public IAudioEffect {
public:
    TestAudioEffect() {
        provider.setSubfolder("waveforms");
        provider.setFolder("/nonexistent-ombrafell-test-folder");
        provider.build();
        double frequency = 8.175798915636872;
        for (float& entry : noteFrequencies) {
            entry = static_cast<float>(frequency);
            frequency *= 1.059463094359;
        }
    }

    const float* getNoteFrequencies() override { return noteFrequencies.data(); }
    float getPhaseScale() override { return phaseScale; }
    WaveformProvider* getWaveformProvider() override { return &provider; }
    ISynthProgram* getCurrentProgram() override { return currentProgram; }

    VstXSynthProgram program;
    ISynthProgram* currentProgram = &program;
    std::array<float, 128> noteFrequencies{};
    float phaseScale = 4096.0f / 44100.0f;
    WaveformProvider provider;
};

// Waveform slot the voice tests fill with a shape of their own, independent of the builders.
inline constexpr int kTestWaveformIndex = 20;

inline void setOscillator(VstXSynthProgram& program, int oscillator, ProgramKey key, float value) {
    program.setRawValue(oscillatorKey(oscillator, key), value);
}

inline void setAllOscillators(VstXSynthProgram& program, ProgramKey key, float value) {
    for (int oscillator = 1; oscillator <= Note::kOscillators; ++oscillator) {
        setOscillator(program, oscillator, key, value);
    }
}

// An owner whose oscillators all play a lopsided test wave (no zero at index 0) at the note's
// pitch, unfiltered and unmodulated, and silent: a test turns up what it looks at.
inline std::unique_ptr<TestAudioEffect> makeVoiceTestOwner() {
    auto owner = std::make_unique<TestAudioEffect>();
    float* table = owner->provider.getMutableTableAt(kTestWaveformIndex);
    for (int i = 0; i < WaveformProvider::kTableSize; ++i) {
        table[i] = 0.6f - static_cast<float>(i % 1024) / 1024.0f;
    }
    VstXSynthProgram& program = owner->program;
    for (int key = 0; key < 3 * kKeysPerOscillator; ++key) {
        program.setRawValue(key, 0.0f);
    }
    setAllOscillators(program, kOscWaveform, waveformValue(kTestWaveformIndex));
    setAllOscillators(program, kOscFreq, 0.5f);
    setAllOscillators(program, kOscPitch, 0.5f);
    setAllOscillators(program, kOscPan, 0.5f);
    setAllOscillators(program, kOscFilterCutoff, 1.0f);
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
