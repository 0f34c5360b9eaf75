#pragma once

// The CLAP preset discovery factory, through which a host indexes presets without an instance,
// in its published layout.

#include "plugin/clap/ClapAbi.h"

#include <cstdint>

namespace Korvatune::Clap {

inline constexpr const char* kPresetDiscoveryFactoryId = "clap.preset-discovery-factory/2";
// The same factory under the name hosts used while it was a draft.
inline constexpr const char* kPresetDiscoveryDraftFactoryId =
    "clap.preset-discovery-factory/draft-2";

enum PresetLocationKind : std::uint32_t {
    kPresetLocationFile = 0,
    // Presets held by the plug-in itself; their location is null.
    kPresetLocationPlugin = 1,
};

enum PresetFlags : std::uint32_t {
    kPresetIsFactoryContent = 1u << 0,
};

struct UniversalPluginId {
    // "clap" for a CLAP plug-in's id.
    const char* abi;
    const char* id;
};

struct PresetMetadataReceiver {
    void* receiverData;
    void (*onError)(const PresetMetadataReceiver* receiver, std::int32_t osError,
                    const char* message);
    // False: the provider stops telling.
    bool (*beginPreset)(const PresetMetadataReceiver* receiver, const char* name,
                        const char* loadKey);
    void (*addPluginId)(const PresetMetadataReceiver* receiver, const UniversalPluginId* id);
    void (*setSoundpackId)(const PresetMetadataReceiver* receiver, const char* soundpackId);
    void (*setFlags)(const PresetMetadataReceiver* receiver, std::uint32_t flags);
    void (*addCreator)(const PresetMetadataReceiver* receiver, const char* creator);
    void (*setDescription)(const PresetMetadataReceiver* receiver, const char* description);
    void (*setTimestamps)(const PresetMetadataReceiver* receiver, std::uint64_t created,
                          std::uint64_t modified);
    void (*addFeature)(const PresetMetadataReceiver* receiver, const char* feature);
    void (*addExtraInfo)(const PresetMetadataReceiver* receiver, const char* key,
                         const char* value);
};

struct PresetFiletype {
    const char* name;
    const char* description;
    const char* fileExtension;
};

struct PresetLocation {
    std::uint32_t flags;
    const char* name;
    std::uint32_t kind;
    const char* location;
};

// Only passed through by pointer: the plug-in declares no sound pack.
struct PresetSoundpack;

struct PresetProviderDescriptor {
    Version clapVersion;
    const char* id;
    const char* name;
    const char* vendor;
};

struct PresetProvider {
    const PresetProviderDescriptor* descriptor;
    void* providerData;
    bool (*init)(const PresetProvider* provider);
    void (*destroy)(const PresetProvider* provider);
    bool (*getMetadata)(const PresetProvider* provider, std::uint32_t kind, const char* location,
                        const PresetMetadataReceiver* receiver);
    const void* (*getExtension)(const PresetProvider* provider, const char* id);
};

struct PresetIndexer {
    Version clapVersion;
    const char* name;
    const char* vendor;
    const char* url;
    const char* version;
    void* indexerData;
    bool (*declareFiletype)(const PresetIndexer* indexer, const PresetFiletype* filetype);
    bool (*declareLocation)(const PresetIndexer* indexer, const PresetLocation* location);
    bool (*declareSoundpack)(const PresetIndexer* indexer, const PresetSoundpack* soundpack);
    const void* (*getExtension)(const PresetIndexer* indexer, const char* id);
};

struct PresetDiscoveryFactory {
    std::uint32_t (*count)(const PresetDiscoveryFactory* factory);
    const PresetProviderDescriptor* (*descriptor)(const PresetDiscoveryFactory* factory,
                                                  std::uint32_t index);
    const PresetProvider* (*create)(const PresetDiscoveryFactory* factory,
                                    const PresetIndexer* indexer, const char* providerId);
};

} // namespace Korvatune::Clap
