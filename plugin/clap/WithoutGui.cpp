// A build without the editor offers hosts no editor to embed.

#include "plugin/clap/PluginExtensions.h"

namespace Korvatune::Clap {

const PluginGui* guiExtension() {
    return nullptr;
}

const PluginTimerSupport* timerSupportExtension() {
    return nullptr;
}

} // namespace Korvatune::Clap
