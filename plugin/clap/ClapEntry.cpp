// The module's one export: the entry through which a host finds the plug-in factory and the
// preset discovery factory. No exception leaves through it.

#include "plugin/clap/ClapDescriptor.h"
#include "plugin/clap/ClapInstrument.h"
#include "plugin/clap/FactoryPresets.h"

#include <cstring>
#include <string>

#ifdef _WIN32
// The module's .def file names the export.
#define OMBRAFELL_CLAP_EXPORT
#else
#define OMBRAFELL_CLAP_EXPORT __attribute__((visibility("default")))
#endif

namespace Korvatune::Clap {

namespace {

// Hosts call init and deinit in pairs, but may call init again before deinit; they never call
// either while another call into the module runs.
int initialisations = 0;

std::string& installFolder() {
    static std::string folder;
    return folder;
}

// The folder the module lies in, where the user waveforms are looked for.
std::string folderOf(const std::string& modulePath) {
    const std::size_t separator = modulePath.find_last_of("/\\");
    return separator == std::string::npos ? std::string(".") : modulePath.substr(0, separator);
}

bool init(const char* pluginPath) {
    try {
        if (initialisations++ == 0) {
            installFolder() = folderOf(pluginPath != nullptr ? pluginPath : "");
        }
        return true;
    } catch (...) {
        --initialisations;
        return false;
    }
}

void deinit() {
    if (initialisations > 0) {
        --initialisations;
    }
}

std::uint32_t pluginCount(const PluginFactory*) {
    return 1;
}

const PluginDescriptor* descriptor(const PluginFactory*, std::uint32_t index) {
    return index == 0 ? &pluginDescriptor() : nullptr;
}

const Plugin* createPlugin(const PluginFactory*, const Host* host, const char* pluginId) {
    if (host == nullptr || pluginId == nullptr || std::strcmp(pluginId, kPluginId) != 0 ||
        host->clapVersion.major < 1) {
        return nullptr;
    }
    try {
        return (new ClapInstrument(host, installFolder()))->plugin();
    } catch (...) {
        return nullptr;
    }
}

constexpr PluginFactory kPluginFactory = {pluginCount, descriptor, createPlugin};

const void* getFactory(const char* factoryId) {
    if (factoryId == nullptr) {
        return nullptr;
    }
    if (std::strcmp(factoryId, kPluginFactoryId) == 0) {
        return &kPluginFactory;
    }
    if (std::strcmp(factoryId, kPresetDiscoveryFactoryId) == 0 ||
        std::strcmp(factoryId, kPresetDiscoveryDraftFactoryId) == 0) {
        return &presetDiscoveryFactory();
    }
    return nullptr;
}

} // namespace

} // namespace Korvatune::Clap

extern "C" {
OMBRAFELL_CLAP_EXPORT extern const Korvatune::Clap::PluginEntry clap_entry;
}

const Korvatune::Clap::PluginEntry clap_entry = {Korvatune::Clap::kVersion, Korvatune::Clap::init,
                                                 Korvatune::Clap::deinit,
                                                 Korvatune::Clap::getFactory};
