#pragma once

#include <string>

namespace Korvatune::Vst3 {

// The bundle's Contents/Resources folder in UTF-8, found from this binary's own path: the
// instrument reads user waveform files from its "waveforms" folder. Empty when unknown.
std::string bundleResourcesFolder();

} // namespace Korvatune::Vst3
