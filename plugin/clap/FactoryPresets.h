#pragma once

#include "plugin/clap/ClapPresetDiscovery.h"

namespace Korvatune::Clap {

inline constexpr const char* kPresetProviderId = "example.korvatune.ombrafell.factory-programs";

// One provider: the instrument's factory programs, held in the plug-in itself, each loaded by
// its number.
const PresetDiscoveryFactory& presetDiscoveryFactory();

} // namespace Korvatune::Clap
