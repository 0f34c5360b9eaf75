#pragma once

#include "waveforms/WaveformProvider.h"

#include <lv2/urid/urid.h>

#include <array>

namespace Korvatune::Lv2 {

// The host's numbers for the URIs the instrument reads and writes.
struct Urids {
    LV2_URID atomSequence = 0;
    LV2_URID atomFrameTime = 0;
    LV2_URID atomString = 0;
    LV2_URID atomObject = 0;
    LV2_URID stateChanged = 0;
    LV2_URID midiEvent = 0;
    LV2_URID logWarning = 0;
    LV2_URID programNameKey = 0;
    LV2_URID userWaveformType = 0;
    std::array<LV2_URID, WaveformProvider::kNumUserWaveforms> userWaveformKeys{};
};

Urids mapUrids(const LV2_URID_Map& map);

} // namespace Korvatune::Lv2
