#include "plugin/clap/ClapDescriptor.h"

#include "plugin/Identity.h"

namespace Korvatune::Clap {

namespace {

constexpr const char* kFeatures[] = {"instrument", "drum", "synthesizer", "stereo", nullptr};

} // namespace

const PluginDescriptor& pluginDescriptor() {
    static const PluginDescriptor descriptor = {
        kVersion,
        kPluginId,
        kProductName,
        kVendorName,
        "",
        "",
        "",
        OMBRAFELL_VERSION,
        "Kick-drum synthesizer for hardcore, techno and drum and bass",
        kFeatures,
    };
    return descriptor;
}

} // namespace Korvatune::Clap
