#pragma once

#include "plugin/lv2/Urids.h"

#include <lv2/state/state.h>

#include <functional>

namespace Korvatune::Lv2 {

// Stores the current program's name and the table of every user slot (0..9), plain data that
// any host and machine can carry.
LV2_State_Status writeState(LV2_State_Store_Function store, LV2_State_Handle handle,
                            const Urids& urids, const char* programName,
                            const std::function<const float*(int slot)>& userTable);

} // namespace Korvatune::Lv2
