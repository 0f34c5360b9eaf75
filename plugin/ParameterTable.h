#pragma once

#include "programs/ProgramKeys.h"

namespace Korvatune {

// How a parameter's working value is turned into the text a host shows.
enum class DisplayRule {
    Waveform,
    Value,
    Decibel,
    Pan,
    Octave,
    CutoffHz,
    OnOff,
    TimesFive,
    PitchAmount,
    TimesTwenty,
    DistortionType,
    RingModHz,
};

struct ParameterInfo {
    const char* name;
    const char* label;
    DisplayRule display;
};

// Host name, label and display rule by parameter index (= program key index).
const ParameterInfo& parameterInfo(int index);

} // namespace Korvatune
