#pragma once

#include <array>

namespace Korvatune {

// The program values one oscillator reads, taken once per sample so that a voice can treat its
// three oscillators alike and read every value a single time.
struct OscillatorSettings {
    float waveform;
    float invertWaveform;
    float pitch;
    float freq;
    float filterType;
    float filterCutoff;
    float filterResonance;
    float volume;
    float sat;
    float pan;
    float modFrequency;
    float ringModAmount;
    float freqModAmount;
    float filtModAmount;
};

using OscillatorSettingsSet = std::array<OscillatorSettings, 3>;

// Works on the ISynthProgram interface and, without virtual calls, on the final program class.
template <class Program> OscillatorSettingsSet readOscillatorSettings(const Program& program) {
    return {{
        {.waveform = program.getOscWaveform1(),
         .invertWaveform = program.getOscInvertWaveform1(),
         .pitch = program.getOscPitch1(),
         .freq = program.getOscFreq1(),
         .filterType = program.getOscFilterType1(),
         .filterCutoff = program.getOscFilterCutoff1(),
         .filterResonance = program.getOscFilterResonance1(),
         .volume = program.getOscVolume1(),
         .sat = program.getOscSat1(),
         .pan = program.getOscPan1(),
         .modFrequency = program.getOscModFrequency1(),
         .ringModAmount = program.getOscRingModAmount1(),
         .freqModAmount = program.getOscFreqModAmount1(),
         .filtModAmount = program.getOscFiltModAmount1()},
        {.waveform = program.getOscWaveform2(),
         .invertWaveform = program.getOscInvertWaveform2(),
         .pitch = program.getOscPitch2(),
         .freq = program.getOscFreq2(),
         .filterType = program.getOscFilterType2(),
         .filterCutoff = program.getOscFilterCutoff2(),
         .filterResonance = program.getOscFilterResonance2(),
         .volume = program.getOscVolume2(),
         .sat = program.getOscSat2(),
         .pan = program.getOscPan2(),
         .modFrequency = program.getOscModFrequency2(),
         .ringModAmount = program.getOscRingModAmount2(),
         .freqModAmount = program.getOscFreqModAmount2(),
         .filtModAmount = program.getOscFiltModAmount2()},
        {.waveform = program.getOscWaveform3(),
         .invertWaveform = program.getOscInvertWaveform3(),
         .pitch = program.getOscPitch3(),
         .freq = program.getOscFreq3(),
         .filterType = program.getOscFilterType3(),
         .filterCutoff = program.getOscFilterCutoff3(),
         .filterResonance = program.getOscFilterResonance3(),
         .volume = program.getOscVolume3(),
         .sat = program.getOscSat3(),
         .pan = program.getOscPan3(),
         .modFrequency = program.getOscModFrequency3(),
         .ringModAmount = program.getOscRingModAmount3(),
         .freqModAmount = program.getOscFreqModAmount3(),
         .filtModAmount = program.getOscFiltModAmount3()},
    }};
}

} // namespace Korvatune
