#pragma once

#include "programs/ISynthProgram.h"

#include <array>

namespace Korvatune {

using ProgramGetter = float (ISynthProgram::*)() const;

// The program values one oscillator reads, so that a voice can treat its three oscillators
// alike.
struct OscillatorKeys {
    ProgramGetter waveform;
    ProgramGetter invertWaveform;
    ProgramGetter pitch;
    ProgramGetter freq;
    ProgramGetter filterType;
    ProgramGetter filterCutoff;
    ProgramGetter filterResonance;
    ProgramGetter volume;
    ProgramGetter sat;
    ProgramGetter pan;
    ProgramGetter modFrequency;
    ProgramGetter ringModAmount;
    ProgramGetter freqModAmount;
    ProgramGetter filtModAmount;
};

inline constexpr std::array<OscillatorKeys, 3> kOscillatorKeys = {{
    {&ISynthProgram::getOscWaveform1, &ISynthProgram::getOscInvertWaveform1,
     &ISynthProgram::getOscPitch1, &ISynthProgram::getOscFreq1, &ISynthProgram::getOscFilterType1,
     &ISynthProgram::getOscFilterCutoff1, &ISynthProgram::getOscFilterResonance1,
     &ISynthProgram::getOscVolume1, &ISynthProgram::getOscSat1, &ISynthProgram::getOscPan1,
     &ISynthProgram::getOscModFrequency1, &ISynthProgram::getOscRingModAmount1,
     &ISynthProgram::getOscFreqModAmount1, &ISynthProgram::getOscFiltModAmount1},
    {&ISynthProgram::getOscWaveform2, &ISynthProgram::getOscInvertWaveform2,
     &ISynthProgram::getOscPitch2, &ISynthProgram::getOscFreq2, &ISynthProgram::getOscFilterType2,
     &ISynthProgram::getOscFilterCutoff2, &ISynthProgram::getOscFilterResonance2,
     &ISynthProgram::getOscVolume2, &ISynthProgram::getOscSat2, &ISynthProgram::getOscPan2,
     &ISynthProgram::getOscModFrequency2, &ISynthProgram::getOscRingModAmount2,
     &ISynthProgram::getOscFreqModAmount2, &ISynthProgram::getOscFiltModAmount2},
    {&ISynthProgram::getOscWaveform3, &ISynthProgram::getOscInvertWaveform3,
     &ISynthProgram::getOscPitch3, &ISynthProgram::getOscFreq3, &ISynthProgram::getOscFilterType3,
     &ISynthProgram::getOscFilterCutoff3, &ISynthProgram::getOscFilterResonance3,
     &ISynthProgram::getOscVolume3, &ISynthProgram::getOscSat3, &ISynthProgram::getOscPan3,
     &ISynthProgram::getOscModFrequency3, &ISynthProgram::getOscRingModAmount3,
     &ISynthProgram::getOscFreqModAmount3, &ISynthProgram::getOscFiltModAmount3},
}};

} // namespace Korvatune
