#pragma once

#include <ostream>

namespace Korvatune::Lv2 {

// The bundle's Turtle files, all made from the instrument's own parameter table, program keys
// and factory bank, so that ports, presets and the VST 2 parameters can never disagree.
void writeManifest(std::ostream& out);
// The plug-in with its ports, its editor and the properties of its state.
void writePluginDescription(std::ostream& out);
// The 45 factory programs as presets.
void writePresets(std::ostream& out);

} // namespace Korvatune::Lv2
