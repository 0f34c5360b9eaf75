#pragma once

namespace Korvatune {

class ISynthProgram;
class WaveformProvider;

// The owner's view that voices, their modulators and the ring modulator use. Slot order is
// fixed: note frequencies, phase scale, waveform provider, current program.
class IAudioEffect {
public:
    virtual const float* getNoteFrequencies() = 0;
    virtual float getPhaseScale() = 0;
    virtual WaveformProvider* getWaveformProvider() = 0;
    virtual ISynthProgram* getCurrentProgram() = 0;

protected:
    ~IAudioEffect() = default;
};

} // namespace Korvatune
