// The state and the factory programs as a CLAP host saves and loads them. No exception leaves
// through them.

#include "plugin/clap/ClapInstrument.h"
#include "plugin/clap/PluginExtensions.h"

namespace Korvatune::Clap {

namespace {

bool save(const Plugin* plugin, const OutputStream* stream) {
    try {
        return stream != nullptr && ClapInstrument::of(plugin).save(*stream);
    } catch (...) {
        return false;
    }
}

bool load(const Plugin* plugin, const InputStream* stream) {
    try {
        return stream != nullptr && ClapInstrument::of(plugin).load(*stream);
    } catch (...) {
        return false;
    }
}

bool fromLocation(const Plugin* plugin, std::uint32_t kind, const char*, const char* loadKey) {
    try {
        return kind == kPresetLocationPlugin && ClapInstrument::of(plugin).loadProgram(loadKey);
    } catch (...) {
        return false;
    }
}

constexpr PluginState kState = {save, load};
constexpr PluginPresetLoad kPresetLoad = {fromLocation};

} // namespace

const PluginState& stateExtension() {
    return kState;
}

const PluginPresetLoad& presetLoadExtension() {
    return kPresetLoad;
}

} // namespace Korvatune::Clap
