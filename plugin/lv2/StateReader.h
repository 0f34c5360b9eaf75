#pragma once

#include "plugin/InstrumentState.h"
#include "plugin/lv2/Urids.h"

#include <lv2/state/state.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Korvatune::Lv2 {

// Reads every piece the instrument stores, each on its own: a damaged waveform does not cost
// the program name or the other waveforms.
std::unique_ptr<RestoredState> readState(LV2_State_Retrieve_Function retrieve,
                                         LV2_State_Handle handle, const Urids& urids);

} // namespace Korvatune::Lv2
