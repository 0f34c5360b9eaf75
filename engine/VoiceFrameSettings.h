#pragma once

#include "engine/OscillatorKeys.h"
#include "maths/Lanes.h"

#include <array>

namespace Korvatune {

class WaveformProvider;

// The program's oscillator values for one frame, oscillator k in lane k, as every voice of the
// frame reads them; the fourth lane is idle padding. Built once per frame.
struct VoiceFrameSettings {
    std::array<const float*, 3> tables{};
    IntLanes inverted{};
    // Lanes whose oscillator sounds (volume above 0); the padding lane counts as sounding, so
    // that three sounding oscillators need no masking.
    IntLanes sounding{};
    bool allSounding = false;
    bool anySounding = false;
    // Whether oscillator 3 sounds: without it the double-precision kernels skip lanes 2 and 3.
    bool upperLanes = false;
    IntLanes saturated{};
    bool anySaturated = false;
    // The saturation amount after raising small amounts.
    FloatLanes saturation{};
    // With curvesReady, the saturated oscillators read the arctangent of their table entries
    // from these curves (see SaturationCurves); without, voices compute it.
    std::array<const float*, 3> saturationCurves{};
    bool curvesReady = false;
    FloatLanes pitch{};
    FloatLanes freq{};
    FloatLanes filterType{};
    FloatLanes filterCutoff{};
    FloatLanes filterResonance{};
    FloatLanes volume{};
    FloatLanes pan{};
    FloatLanes modFrequency{};
    FloatLanes ringModAmount{};
    FloatLanes freqModAmount{};
    FloatLanes filtModAmount{};
};

VoiceFrameSettings makeVoiceFrameSettings(const OscillatorSettingsSet& settings,
                                          const WaveformProvider& provider);

} // namespace Korvatune
