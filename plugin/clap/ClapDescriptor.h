#pragma once

#include "plugin/clap/ClapAbi.h"

namespace Korvatune::Clap {

// Hosts file sessions and presets under the id, so it never changes.
inline constexpr const char* kPluginId = "example.korvatune.ombrafell";

const PluginDescriptor& pluginDescriptor();

} // namespace Korvatune::Clap
