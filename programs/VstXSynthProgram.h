#pragma once

#include "programs/ISynthProgram.h"
#include "programs/ProgramKeys.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

namespace Korvatune {

// One program: a name and 60 normalised values. Values are relaxed atomics because the audio
// thread reads them while a host or editor thread writes them; each value changes on its own.
class VstXSynthProgram final : public ISynthProgram {
public:
    VstXSynthProgram();
    virtual ~VstXSynthProgram() = default;
    VstXSynthProgram(const VstXSynthProgram&) = delete;
    VstXSynthProgram& operator=(const VstXSynthProgram&) = delete;

    float getOscWaveform1() const override { return oscillatorValue(1, kOscWaveform); }
    float getOscWaveform2() const override { return oscillatorValue(2, kOscWaveform); }
    float getOscWaveform3() const override { return oscillatorValue(3, kOscWaveform); }
    float getOscInvertWaveform1() const override { return oscillatorValue(1, kOscInvertWaveform); }
    float getOscInvertWaveform2() const override { return oscillatorValue(2, kOscInvertWaveform); }
    float getOscInvertWaveform3() const override { return oscillatorValue(3, kOscInvertWaveform); }
    float getOscPitch1() const override { return oscillatorValue(1, kOscPitch); }
    float getOscPitch2() const override { return oscillatorValue(2, kOscPitch); }
    float getOscPitch3() const override { return oscillatorValue(3, kOscPitch); }
    float getOscFreq1() const override { return oscillatorValue(1, kOscFreq); }
    float getOscFreq2() const override { return oscillatorValue(2, kOscFreq); }
    float getOscFreq3() const override { return oscillatorValue(3, kOscFreq); }
    float getOscFilterType1() const override { return oscillatorValue(1, kOscFilterType); }
    float getOscFilterType2() const override { return oscillatorValue(2, kOscFilterType); }
    float getOscFilterType3() const override { return oscillatorValue(3, kOscFilterType); }
    float getOscFilterCutoff1() const override { return oscillatorValue(1, kOscFilterCutoff); }
    float getOscFilterCutoff2() const override { return oscillatorValue(2, kOscFilterCutoff); }
    float getOscFilterCutoff3() const override { return oscillatorValue(3, kOscFilterCutoff); }
    float getOscFilterResonance1() const override {
        return oscillatorValue(1, kOscFilterResonance);
    }
    float getOscFilterResonance2() const override {
        return oscillatorValue(2, kOscFilterResonance);
    }
    float getOscFilterResonance3() const override {
        return oscillatorValue(3, kOscFilterResonance);
    }
    float getOscVolume1() const override { return oscillatorValue(1, kOscVolume); }
    float getOscVolume2() const override { return oscillatorValue(2, kOscVolume); }
    float getOscVolume3() const override { return oscillatorValue(3, kOscVolume); }
    float getOscSat1() const override { return oscillatorValue(1, kOscSat); }
    float getOscSat2() const override { return oscillatorValue(2, kOscSat); }
    float getOscSat3() const override { return oscillatorValue(3, kOscSat); }
    float getOscPan1() const override { return oscillatorValue(1, kOscPan); }
    float getOscPan2() const override { return oscillatorValue(2, kOscPan); }
    float getOscPan3() const override { return oscillatorValue(3, kOscPan); }
    float getOscModFrequency1() const override { return oscillatorValue(1, kOscModFrequency); }
    float getOscModFrequency2() const override { return oscillatorValue(2, kOscModFrequency); }
    float getOscModFrequency3() const override { return oscillatorValue(3, kOscModFrequency); }
    float getOscRingModAmount1() const override { return oscillatorValue(1, kOscRingModAmount); }
    float getOscRingModAmount2() const override { return oscillatorValue(2, kOscRingModAmount); }
    float getOscRingModAmount3() const override { return oscillatorValue(3, kOscRingModAmount); }
    float getOscFreqModAmount1() const override { return oscillatorValue(1, kOscFreqModAmount); }
    float getOscFreqModAmount2() const override { return oscillatorValue(2, kOscFreqModAmount); }
    float getOscFreqModAmount3() const override { return oscillatorValue(3, kOscFreqModAmount); }
    float getOscFiltModAmount1() const override { return oscillatorValue(1, kOscFiltModAmount); }
    float getOscFiltModAmount2() const override { return oscillatorValue(2, kOscFiltModAmount); }
    float getOscFiltModAmount3() const override { return oscillatorValue(3, kOscFiltModAmount); }

    // Value of key index 0..59; 0 for any other index.
    float getValue(int index) const;
    // Clamps to [0, 1] and stores under key index 0..59; other indices store nothing.
    void setValue(int index, float value);
    // Stores unchanged, as the host parameter path does; other indices store nothing.
    void setRawValue(int index, float value);
    static const char* keyName(int index);
    // Counts the stores: a reader that saw the same count before has already seen every value
    // (the values stored before the count it reads).
    std::uint32_t revision() const { return revisionCount.load(std::memory_order_acquire); }

    // Any thread, while another renames: each character is read and written whole, and the
    // writer's next refresh shows the name it finished.
    std::string getName() const;
    // Copies at most 24 characters and always terminates.
    void setName(const char* text);

private:
    float oscillatorValue(int oscillator, ProgramKey key) const {
        return values[oscillatorKey(oscillator, key)].load(std::memory_order_relaxed);
    }

    std::array<std::atomic<float>, kNumProgramKeys> values;
    std::atomic<std::uint32_t> revisionCount{0};
    std::array<std::atomic<char>, kProgramNameCapacity + 1> name{};
};

} // namespace Korvatune
