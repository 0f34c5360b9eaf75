#include "plugin/clap/PluginExtensions.h"

#include <cstring>

namespace Korvatune::Clap {

const void* pluginExtension(const char* id) {
    const auto is = [id](const char* name) { return std::strcmp(id, name) == 0; };
    if (is(kParamsExtension)) {
        return &paramsExtension();
    }
    if (is(kAudioPortsExtension)) {
        return &audioPortsExtension();
    }
    if (is(kNotePortsExtension)) {
        return &notePortsExtension();
    }
    if (is(kStateExtension)) {
        return &stateExtension();
    }
    if (is(kPresetLoadExtension) || is(kPresetLoadDraftExtension)) {
        return &presetLoadExtension();
    }
    if (is(kGuiExtension)) {
        return guiExtension();
    }
    if (is(kTimerSupportExtension)) {
        return timerSupportExtension();
    }
    return nullptr;
}

} // namespace Korvatune::Clap
