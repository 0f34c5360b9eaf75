#include "clap/ClapPhrase.h"
#include "plugin/Instrument.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>

namespace Korvatune {
namespace {

class ClapDescription : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(module.ready()) << testing::clapModuleUnderTest();
        ASSERT_NE(clap.plugin, nullptr);
    }

    std::string text(std::uint32_t id, double value) {
        char shown[64] = {};
        EXPECT_TRUE(clap.params().valueToText(clap.plugin, id, value, shown, sizeof shown)) << id;
        return shown;
    }

    std::optional<double> valueOf(std::uint32_t id, const char* shown) {
        double value = -1.0;
        if (!clap.params().textToValue(clap.plugin, id, shown, &value)) {
            return std::nullopt;
        }
        return value;
    }

    testing::ClapModule module;
    testing::TestHost host;
    testing::ClapInstance clap{module, host};
};

TEST_F(ClapDescription, OffersOnePluginWithItsDescriptor) {
    const Clap::PluginFactory* factory = module.pluginFactory();
    ASSERT_NE(factory, nullptr);
    ASSERT_EQ(factory->pluginCount(factory), 1u);
    EXPECT_EQ(factory->descriptor(factory, 1), nullptr);
    const Clap::PluginDescriptor* descriptor = factory->descriptor(factory, 0);
    ASSERT_NE(descriptor, nullptr);
    EXPECT_EQ(descriptor, clap.plugin->descriptor);
    EXPECT_EQ(descriptor->clapVersion.major, 1u);
    EXPECT_STREQ(descriptor->id, "example.korvatune.ombrafell");
    EXPECT_STREQ(descriptor->name, "Ombrafell");
    EXPECT_STREQ(descriptor->vendor, "Korvatune");
    EXPECT_STREQ(descriptor->version, OMBRAFELL_VERSION);
    std::set<std::string> features;
    for (const char* const* feature = descriptor->features; *feature != nullptr; ++feature) {
        features.insert(*feature);
    }
    EXPECT_EQ(features, (std::set<std::string>{"instrument", "drum", "synthesizer", "stereo"}));
}

TEST_F(ClapDescription, MakesInstancesOnlyOfItsOwnIdAndOffersOnlyItsFactories) {
    const Clap::PluginFactory* factory = module.pluginFactory();
    EXPECT_EQ(factory->createPlugin(factory, host.get(), "example.korvatune.other"), nullptr);
    EXPECT_EQ(module.entry->getFactory("clap.unknown-factory"), nullptr);
    EXPECT_NE(module.entry->getFactory("clap.preset-discovery-factory/draft-2"), nullptr);
    EXPECT_EQ(clap.plugin->getExtension(clap.plugin, "clap.unknown-extension"), nullptr);
}

TEST_F(ClapDescription, TakesNotesOnOnePortAndPlaysOneStereoPair) {
    const auto* audio = clap.extension<Clap::PluginAudioPorts>(Clap::kAudioPortsExtension);
    ASSERT_NE(audio, nullptr);
    EXPECT_EQ(audio->count(clap.plugin, true), 0u);
    ASSERT_EQ(audio->count(clap.plugin, false), 1u);
    Clap::AudioPortInfo output{};
    ASSERT_TRUE(audio->get(clap.plugin, 0, false, &output));
    EXPECT_EQ(output.channelCount, 2u);
    EXPECT_STREQ(output.portType, "stereo");
    EXPECT_NE(output.flags & Clap::kAudioPortIsMain, 0u);
    EXPECT_FALSE(audio->get(clap.plugin, 1, false, &output));
    EXPECT_FALSE(audio->get(clap.plugin, 0, true, &output));

    const auto* notes = clap.extension<Clap::PluginNotePorts>(Clap::kNotePortsExtension);
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(notes->count(clap.plugin, false), 0u);
    ASSERT_EQ(notes->count(clap.plugin, true), 1u);
    Clap::NotePortInfo input{};
    ASSERT_TRUE(notes->get(clap.plugin, 0, true, &input));
    EXPECT_EQ(input.supportedDialects, Clap::kNoteDialectClap | Clap::kNoteDialectMidi);
    EXPECT_EQ(input.preferredDialect, Clap::kNoteDialectClap);
    EXPECT_FALSE(notes->get(clap.plugin, 1, true, &input));
}

TEST_F(ClapDescription, DescribesTheSixtyParameters) {
    ASSERT_EQ(clap.params().count(clap.plugin), 60u);
    for (int index = 0; index < Instrument::kParameterCount; ++index) {
        Clap::ParamInfo info{};
        ASSERT_TRUE(clap.params().getInfo(clap.plugin, static_cast<std::uint32_t>(index), &info));
        const int steps = Instrument::stepCount(index);
        EXPECT_EQ(info.id, static_cast<std::uint32_t>(index));
        EXPECT_EQ(info.name, Instrument::parameterName(index));
        EXPECT_NE(info.flags & Clap::kParamIsAutomatable, 0u) << index;
        EXPECT_EQ((info.flags & Clap::kParamIsStepped) != 0, steps > 0) << index;
        EXPECT_EQ(info.minValue, 0.0);
        EXPECT_EQ(info.maxValue, steps > 0 ? steps : 1.0) << index;
        const double expectedDefault = steps > 0
                                           ? std::round(Instrument::defaultValue(index) * steps)
                                           : double{Instrument::defaultValue(index)};
        EXPECT_EQ(info.defaultValue, expectedDefault) << index;
    }
    Clap::ParamInfo info{};
    EXPECT_FALSE(clap.params().getInfo(clap.plugin, 60, &info));
}

TEST_F(ClapDescription, GroupsTheParametersByTheEditorsSections) {
    const std::pair<std::uint32_t, const char*> sections[] = {
        {0, "Oscillator 1"},  {13, "Oscillator 1"}, {14, "Oscillator 2"}, {28, "Oscillator 3"},
        {41, "Oscillator 3"}, {42, "Pitch"},        {44, "Pitch"},        {45, "Tone"},
        {47, "Tone"},         {48, "Output"},       {59, "Output"}};
    for (const auto& [id, section] : sections) {
        Clap::ParamInfo info{};
        ASSERT_TRUE(clap.params().getInfo(clap.plugin, id, &info));
        EXPECT_STREQ(info.module, section) << id;
    }
}

TEST_F(ClapDescription, ValuesFollowTheProgramLoaded) {
    for (const int program : {0, 18, 44}) {
        ASSERT_TRUE(clap.loadProgram(program));
        const auto values = testing::vst2Values(testing::vst2ModuleEntry(), program, {});
        for (int index = 0; index < Instrument::kParameterCount; ++index) {
            const float value = values[static_cast<std::size_t>(index)];
            const int steps = Instrument::stepCount(index);
            EXPECT_EQ(clap.value(static_cast<std::uint32_t>(index)),
                      steps > 0 ? std::round(value * steps) : double{value})
                << "program " << program << ", parameter " << index;
        }
    }
}

// The host sets values while it does not run the plug-in; a list takes its entry number.
TEST_F(ClapDescription, AFlushSetsValuesOutsideOfBlocks) {
    testing::EventList events;
    events.add(testing::paramEvent(0, kVolume, 0.125));
    events.add(testing::paramEvent(0, kDistortionType, 7.0));
    events.add(testing::paramEvent(0, 60, 0.5));
    clap.flush(events);
    EXPECT_EQ(clap.value(kVolume), 0.125);
    EXPECT_EQ(clap.value(kDistortionType), 7.0);
    EXPECT_EQ(clap.value(60), -1.0) << "no such parameter";
}

TEST_F(ClapDescription, ShowsValuesWithTheirUnits) {
    const Instrument instrument("", nullptr);
    for (int index = 0; index < Instrument::kParameterCount; ++index) {
        const auto id = static_cast<std::uint32_t>(index);
        const float value = Instrument::defaultValue(index);
        const int steps = Instrument::stepCount(index);
        const std::string unit = Instrument::parameterUnit(index);
        const std::string shown = instrument.displayText(index, value);
        const double plain = steps > 0 ? std::round(value * steps) : value;
        EXPECT_EQ(text(id, plain), unit.empty() ? shown : shown + " " + unit) << index;
    }
    char tiny[4] = {};
    ASSERT_TRUE(clap.params().valueToText(clap.plugin, kVolume, 1.0, tiny, sizeof tiny));
    EXPECT_EQ(std::strlen(tiny), 3u);
    EXPECT_FALSE(clap.params().valueToText(clap.plugin, 60, 0.0, tiny, sizeof tiny));
}

TEST_F(ClapDescription, ReadsListEntriesByName) {
    int lists = 0;
    for (int index = 0; index < Instrument::kParameterCount; ++index) {
        const int steps = Instrument::stepCount(index);
        lists += steps > 0 ? 1 : 0;
        for (int step = 0; step <= steps && steps > 0; ++step) {
            const std::string name = Instrument::stepName(index, step);
            EXPECT_EQ(valueOf(static_cast<std::uint32_t>(index), name.c_str()), double(step))
                << index << ": " << name;
        }
    }
    EXPECT_GT(lists, 3);
    EXPECT_EQ(valueOf(kDistortionType, "no such distortion"), std::nullopt);
}

TEST_F(ClapDescription, ReadsContinuousValuesAsNumbersFromZeroToOne) {
    EXPECT_EQ(valueOf(kVolume, "0.25"), 0.25);
    EXPECT_EQ(valueOf(kVolume, " 1 "), 1.0);
    EXPECT_EQ(valueOf(kVolume, "0"), 0.0);
    for (const char* refused : {"1.5", "-0.1", "abc", "", "0.5x", "nan"}) {
        EXPECT_EQ(valueOf(kVolume, refused), std::nullopt) << refused;
    }
    EXPECT_EQ(valueOf(60, "0.5"), std::nullopt);
}

// A host's preset browser, and the loading of what it lists.
class ClapPresetIndex : public ::testing::Test {
protected:
    struct Listed {
        std::string name;
        std::string loadKey;
        std::vector<std::string> pluginIds;
        std::uint32_t flags = 0;
    };

    void SetUp() override { ASSERT_TRUE(module.ready()); }

    static ClapPresetIndex& of(const void* data) {
        return *static_cast<ClapPresetIndex*>(const_cast<void*>(data));
    }

    Clap::PresetIndexer indexer{
        Clap::kVersion,
        "Ombrafell test host",
        "Korvatune",
        "",
        "1.0",
        this,
        [](const Clap::PresetIndexer*, const Clap::PresetFiletype*) { return true; },
        [](const Clap::PresetIndexer* indexer, const Clap::PresetLocation* location) {
            of(indexer->indexerData).locations.push_back(*location);
            return true;
        },
        [](const Clap::PresetIndexer*, const Clap::PresetSoundpack*) { return true; },
        [](const Clap::PresetIndexer*, const char*) -> const void* { return nullptr; }};

    Clap::PresetMetadataReceiver receiver{
        this,
        [](const Clap::PresetMetadataReceiver*, std::int32_t, const char*) {},
        [](const Clap::PresetMetadataReceiver* receiver, const char* name, const char* key) {
            of(receiver->receiverData).listed.push_back({name, key, {}, 0});
            return true;
        },
        [](const Clap::PresetMetadataReceiver* receiver, const Clap::UniversalPluginId* id) {
            of(receiver->receiverData)
                .listed.back()
                .pluginIds.push_back(std::string(id->abi) + ":" + id->id);
        },
        [](const Clap::PresetMetadataReceiver*, const char*) {},
        [](const Clap::PresetMetadataReceiver* receiver, std::uint32_t flags) {
            of(receiver->receiverData).listed.back().flags = flags;
        },
        [](const Clap::PresetMetadataReceiver*, const char*) {},
        [](const Clap::PresetMetadataReceiver*, const char*) {},
        [](const Clap::PresetMetadataReceiver*, std::uint64_t, std::uint64_t) {},
        [](const Clap::PresetMetadataReceiver*, const char*) {},
        [](const Clap::PresetMetadataReceiver*, const char*, const char*) {}};

    testing::ClapModule module;
    std::vector<Clap::PresetLocation> locations;
    std::vector<Listed> listed;
};

TEST_F(ClapPresetIndex, ListsTheFactoryProgramsHeldInThePlugin) {
    const Clap::PresetDiscoveryFactory* factory = module.presetFactory();
    ASSERT_NE(factory, nullptr);
    ASSERT_EQ(factory->count(factory), 1u);
    const Clap::PresetProviderDescriptor* descriptor = factory->descriptor(factory, 0);
    ASSERT_NE(descriptor, nullptr);
    EXPECT_EQ(factory->create(factory, &indexer, "example.korvatune.other"), nullptr);
    const Clap::PresetProvider* provider = factory->create(factory, &indexer, descriptor->id);
    ASSERT_NE(provider, nullptr);
    ASSERT_TRUE(provider->init(provider));
    ASSERT_EQ(locations.size(), 1u);
    EXPECT_EQ(locations[0].kind, Clap::kPresetLocationPlugin);
    EXPECT_EQ(locations[0].location, nullptr);
    EXPECT_NE(locations[0].flags & Clap::kPresetIsFactoryContent, 0u);

    EXPECT_FALSE(provider->getMetadata(provider, Clap::kPresetLocationFile, "/tmp", &receiver));
    EXPECT_TRUE(listed.empty());
    ASSERT_TRUE(provider->getMetadata(provider, Clap::kPresetLocationPlugin, nullptr, &receiver));
    provider->destroy(provider);

    ASSERT_EQ(listed.size(), 45u);
    testing::SynthDriver vst2(44100.0f, testing::vst2ModuleEntry());
    for (int program = 0; program < 45; ++program) {
        const Listed& preset = listed[static_cast<std::size_t>(program)];
        EXPECT_EQ(preset.name, testing::textFrom(vst2.get(), effGetProgramNameIndexed, program));
        EXPECT_EQ(preset.loadKey, std::to_string(program));
        EXPECT_EQ(preset.pluginIds, std::vector<std::string>{"clap:example.korvatune.ombrafell"});
        EXPECT_EQ(preset.flags, Clap::kPresetIsFactoryContent);
    }
}

TEST_F(ClapPresetIndex, LoadsOnlyTheKeysItListed) {
    testing::TestHost host;
    testing::ClapInstance clap(module, host);
    const auto* presets = clap.extension<Clap::PluginPresetLoad>(Clap::kPresetLoadExtension);
    ASSERT_NE(presets, nullptr);
    for (const char* key : {"45", "-1", "x", "3x", "", " 3"}) {
        EXPECT_FALSE(presets->fromLocation(clap.plugin, Clap::kPresetLocationPlugin, nullptr, key))
            << key;
    }
    EXPECT_FALSE(presets->fromLocation(clap.plugin, Clap::kPresetLocationPlugin, nullptr, nullptr));
    EXPECT_FALSE(presets->fromLocation(clap.plugin, Clap::kPresetLocationFile, "/tmp/x", "3"));
    EXPECT_TRUE(host.loadedPresets.empty());
    EXPECT_EQ(host.rescans, 0);

    ASSERT_TRUE(presets->fromLocation(clap.plugin, Clap::kPresetLocationPlugin, nullptr, "44"));
    EXPECT_EQ(host.loadedPresets, std::vector<std::string>{"44"});
    EXPECT_EQ(host.rescans, 1);
    EXPECT_NE(clap.plugin->getExtension(clap.plugin, "clap.preset-load.draft/2"), nullptr);
}

} // namespace
} // namespace Korvatune
