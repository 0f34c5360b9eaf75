#pragma once

#include "plugin/vst3/Vst3Base.h"

namespace Korvatune::Vst3 {

// The module's one factory, alive as long as the module: it counts no references.
IPluginFactory3* moduleFactory();

} // namespace Korvatune::Vst3
