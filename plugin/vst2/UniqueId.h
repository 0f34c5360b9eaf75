#pragma once

#include "plugin/vst2/VstAbi.h"

namespace Korvatune {

// The identifier VST 2 hosts file the instrument's sessions and programs under.
inline constexpr std::int32_t kUniqueId = fourCharacterCode('K', 'V', 'O', 'B');

} // namespace Korvatune
