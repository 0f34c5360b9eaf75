#pragma once

#include "plugin/clap/ClapExtensions.h"

namespace Korvatune::Clap {

// The extensions an instance offers, by the host's name for them; null for one it does not.
const void* pluginExtension(const char* id);

// Their tables, each beside the code it calls.
const PluginParams& paramsExtension();
const PluginAudioPorts& audioPortsExtension();
const PluginNotePorts& notePortsExtension();
const PluginState& stateExtension();
const PluginPresetLoad& presetLoadExtension();
// Null in a build without the editor.
const PluginGui* guiExtension();
const PluginTimerSupport* timerSupportExtension();

} // namespace Korvatune::Clap
