// The factory programs as a CLAP host indexes them. No exception leaves through the callbacks.

#include "plugin/clap/FactoryPresets.h"

#include "plugin/Identity.h"
#include "plugin/Instrument.h"
#include "plugin/clap/ClapDescriptor.h"

#include <cstring>
#include <new>
#include <string>

namespace Korvatune::Clap {

namespace {

constexpr PresetProviderDescriptor kProviderDescriptor = {
    kVersion, kPresetProviderId, "Ombrafell factory programs", kVendorName};

struct ProgramProvider {
    PresetProvider record;
    const PresetIndexer* indexer;
};

const PresetIndexer& indexerOf(const PresetProvider* provider) {
    return *static_cast<const ProgramProvider*>(provider->providerData)->indexer;
}

bool init(const PresetProvider* provider) {
    const PresetIndexer& indexer = indexerOf(provider);
    const PresetLocation location = {kPresetIsFactoryContent, "Ombrafell factory programs",
                                     kPresetLocationPlugin, nullptr};
    return indexer.declareLocation != nullptr && indexer.declareLocation(&indexer, &location);
}

void destroy(const PresetProvider* provider) {
    delete static_cast<const ProgramProvider*>(provider->providerData);
}

bool tellProgram(const PresetMetadataReceiver& receiver, int program) {
    const std::string name = Instrument::factoryProgramName(program);
    const std::string loadKey = std::to_string(program);
    if (!receiver.beginPreset(&receiver, name.c_str(), loadKey.c_str())) {
        return false;
    }
    const UniversalPluginId plugin = {"clap", kPluginId};
    if (receiver.addPluginId != nullptr) {
        receiver.addPluginId(&receiver, &plugin);
    }
    if (receiver.setFlags != nullptr) {
        receiver.setFlags(&receiver, kPresetIsFactoryContent);
    }
    if (receiver.addCreator != nullptr) {
        receiver.addCreator(&receiver, kVendorName);
    }
    return true;
}

bool getMetadata(const PresetProvider*, std::uint32_t kind, const char*,
                 const PresetMetadataReceiver* receiver) {
    if (kind != kPresetLocationPlugin || receiver == nullptr || receiver->beginPreset == nullptr) {
        return false;
    }
    try {
        for (int program = 0; program < Instrument::kProgramCount; ++program) {
            if (!tellProgram(*receiver, program)) {
                break;
            }
        }
        return true;
    } catch (...) {
        return false;
    }
}

const void* getExtension(const PresetProvider*, const char*) {
    return nullptr;
}

std::uint32_t count(const PresetDiscoveryFactory*) {
    return 1;
}

const PresetProviderDescriptor* descriptor(const PresetDiscoveryFactory*, std::uint32_t index) {
    return index == 0 ? &kProviderDescriptor : nullptr;
}

const PresetProvider* create(const PresetDiscoveryFactory*, const PresetIndexer* indexer,
                             const char* providerId) {
    if (indexer == nullptr || providerId == nullptr ||
        std::strcmp(providerId, kPresetProviderId) != 0) {
        return nullptr;
    }
    auto* provider = new (std::nothrow) ProgramProvider{{}, indexer};
    if (provider == nullptr) {
        return nullptr;
    }
    provider->record = {&kProviderDescriptor, provider, init, destroy, getMetadata, getExtension};
    return &provider->record;
}

constexpr PresetDiscoveryFactory kFactory = {count, descriptor, create};

} // namespace

const PresetDiscoveryFactory& presetDiscoveryFactory() {
    return kFactory;
}

} // namespace Korvatune::Clap
