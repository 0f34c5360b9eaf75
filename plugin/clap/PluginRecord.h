#pragma once

#include "plugin/clap/ClapAbi.h"

namespace Korvatune::Clap {

class ClapInstrument;

// The plug-in record a host drives the instance through.
Plugin pluginRecord(ClapInstrument* instance);

} // namespace Korvatune::Clap
