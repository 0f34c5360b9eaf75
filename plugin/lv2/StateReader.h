#pragma once

#include "plugin/lv2/Urids.h"
#include "plugin/lv2/UserWaveformCodec.h"

#include <lv2/state/state.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Korvatune::Lv2 {

// What a host handed back of the instrument's state. A piece that was missing or refused stays
// empty, so the instrument keeps what it has for it.
struct RestoredState {
    std::optional<std::string> programName;
    std::array<std::optional<WaveformTable>, WaveformProvider::kNumUserWaveforms> userWaveforms;
    // One line per refused piece, for the host's log.
    std::vector<std::string> refusals;
};

// Reads every piece the instrument stores, each on its own: a damaged waveform does not cost
// the program name or the other waveforms.
std::unique_ptr<RestoredState> readState(LV2_State_Retrieve_Function retrieve,
                                         LV2_State_Handle handle, const Urids& urids);

} // namespace Korvatune::Lv2
