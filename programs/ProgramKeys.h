#pragma once

#include <array>
#include <cstddef>

namespace Korvatune {

inline constexpr int kNumProgramKeys = 60;
inline constexpr int kKeysPerOscillator = 14;
inline constexpr std::size_t kProgramNameCapacity = 24;

// Key indices: the program key index is also the host parameter index and the editor tag.
// Oscillator n (1..3) uses kOsc... + kKeysPerOscillator * (n - 1).
enum ProgramKey : int {
    kOscWaveform = 0,
    kOscFreq = 1,
    kOscVolume = 2,
    kOscSat = 3,
    kOscPan = 4,
    kOscPitch = 5,
    kOscFilterType = 6,
    kOscFilterCutoff = 7,
    kOscFilterResonance = 8,
    kOscInvertWaveform = 9,
    kOscModFrequency = 10,
    kOscRingModAmount = 11,
    kOscFreqModAmount = 12,
    kOscFiltModAmount = 13,
    kPitchDuration = 42,
    kPitchAmount = 43,
    kPitchPower = 44,
    kBassAmount = 45,
    kMidAmount = 46,
    kHighAmount = 47,
    kQuantization = 48,
    kSampleRate = 49,
    kFilterType = 50,
    kFilterCutoff = 51,
    kFilterResonance = 52,
    kDistortion = 53,
    kDistortionType = 54,
    kRingModulationAmount = 55,
    kRingModulationFrequency = 56,
    kDumpExpand = 57,
    kBypassFX = 58,
    kVolume = 59,
};

constexpr int oscillatorKey(int oscillator, ProgramKey key) {
    return kKeysPerOscillator * (oscillator - 1) + key;
}

struct ProgramKeyInfo {
    const char* text;
    float defaultValue;
};

// Key texts and the defaults of a freshly constructed record, by key index.
extern const std::array<ProgramKeyInfo, kNumProgramKeys> kProgramKeys;

inline constexpr const char* kDefaultProgramName = "Basic Bassdrum";

// True for the three keys that store a waveform catalogue index.
constexpr bool isWaveformKey(int index) {
    return index == 0 || index == 14 || index == 28;
}

} // namespace Korvatune

namespace Korvatune {

inline constexpr int kNumWaveforms = 30;
inline constexpr int kNumDistortionTypes = 25;

// List parameters store entry n of N as n / (N - 1).
constexpr float waveformValue(int index) {
    return static_cast<float>(index) / static_cast<float>(kNumWaveforms - 1);
}
constexpr float distortionTypeValue(int index) {
    return static_cast<float>(index) / static_cast<float>(kNumDistortionTypes - 1);
}

} // namespace Korvatune
