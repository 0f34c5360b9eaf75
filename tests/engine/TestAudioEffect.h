#pragma once

#include "engine/IAudioEffect.h"
#include "programs/VstXSynthProgram.h"
#include "waveforms/WaveformProvider.h"

#include <array>
#include <cmath>
#include <memory>

namespace Korvatune {

// A minimal owner for voices: real waveform tables, the note frequency table, and a program
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

inline std::unique_ptr<TestAudioEffect> makeTestOwner() {
    return std::make_unique<TestAudioEffect>();
}

} // namespace Korvatune
