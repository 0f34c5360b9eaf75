#pragma once

namespace Korvatune {

// Read view of a program for the voices. The slot order (property, then oscillator) is part of
// the interface: slot 3 * property + (oscillator - 1).
class ISynthProgram {
public:
    virtual float getOscWaveform1() const = 0;
    virtual float getOscWaveform2() const = 0;
    virtual float getOscWaveform3() const = 0;
    virtual float getOscInvertWaveform1() const = 0;
    virtual float getOscInvertWaveform2() const = 0;
    virtual float getOscInvertWaveform3() const = 0;
    virtual float getOscPitch1() const = 0;
    virtual float getOscPitch2() const = 0;
    virtual float getOscPitch3() const = 0;
    virtual float getOscFreq1() const = 0;
    virtual float getOscFreq2() const = 0;
    virtual float getOscFreq3() const = 0;
    virtual float getOscFilterType1() const = 0;
    virtual float getOscFilterType2() const = 0;
    virtual float getOscFilterType3() const = 0;
    virtual float getOscFilterCutoff1() const = 0;
    virtual float getOscFilterCutoff2() const = 0;
    virtual float getOscFilterCutoff3() const = 0;
    virtual float getOscFilterResonance1() const = 0;
    virtual float getOscFilterResonance2() const = 0;
    virtual float getOscFilterResonance3() const = 0;
    virtual float getOscVolume1() const = 0;
    virtual float getOscVolume2() const = 0;
    virtual float getOscVolume3() const = 0;
    virtual float getOscSat1() const = 0;
    virtual float getOscSat2() const = 0;
    virtual float getOscSat3() const = 0;
    virtual float getOscPan1() const = 0;
    virtual float getOscPan2() const = 0;
    virtual float getOscPan3() const = 0;
    virtual float getOscModFrequency1() const = 0;
    virtual float getOscModFrequency2() const = 0;
    virtual float getOscModFrequency3() const = 0;
    virtual float getOscRingModAmount1() const = 0;
    virtual float getOscRingModAmount2() const = 0;
    virtual float getOscRingModAmount3() const = 0;
    virtual float getOscFreqModAmount1() const = 0;
    virtual float getOscFreqModAmount2() const = 0;
    virtual float getOscFreqModAmount3() const = 0;
    virtual float getOscFiltModAmount1() const = 0;
    virtual float getOscFiltModAmount2() const = 0;
    virtual float getOscFiltModAmount3() const = 0;

protected:
    ~ISynthProgram() = default;
};

} // namespace Korvatune
