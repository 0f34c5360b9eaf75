#pragma once

// A host built on lilv that loads the built bundle from a temporary LV2 folder, and the built
// VST 2 module beside it, so that both are tested as hosts load them.

#include "lv2bundle/BinariesUnderTest.h"
#include "plugin/lv2/Lv2Ports.h"
#include "plugin/lv2/Lv2Uris.h"
#include "support/Lv2HostFeatures.h"
#include "support/SynthDriver.h"
#include "waveforms/WaveformTestFiles.h"

#include <lilv/lilv.h>
#include <lv2/atom/util.h>
#include <lv2/state/state.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <string>
#include <vector>

namespace Korvatune::testing {

// The VST 2 module's entry point, from the module as a host loads it.
inline EntryFunction vst2ModuleEntry() {
    static void* const module = dlopen(vst2ModuleUnderTest(), RTLD_NOW | RTLD_LOCAL);
    return module ? reinterpret_cast<EntryFunction>(dlsym(module, "VSTPluginMain")) : nullptr;
}

// A copy of the built bundle in a folder of its own, the only plug-in lilv finds there.
class BundleCopy {
public:
    BundleCopy() {
        std::filesystem::copy(lv2BundleUnderTest(), bundle(),
                              std::filesystem::copy_options::recursive);
    }

    const std::filesystem::path& folder() const { return folder_.get(); }
    std::filesystem::path bundle() const { return folder_.get() / "Ombrafell.lv2"; }

private:
    testfiles::TemporaryDirectory folder_;
};

// A lilv world that loads the LV2 folder given, and the installed LV2 vocabularies for their
// classes.
class LilvHost {
public:
    explicit LilvHost(const std::filesystem::path& lv2Folder) {
        setenv("LV2_PATH", (lv2Folder.string() + ":/usr/lib/lv2").c_str(), 1);
        world = lilv_world_new();
        lilv_world_load_all(world);
        LilvNode* uri = lilv_new_uri(world, Lv2::kPluginUri);
        plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), uri);
        lilv_node_free(uri);
    }
    ~LilvHost() {
        for (LilvNode* node : nodes_) {
            lilv_node_free(node);
        }
        lilv_world_free(world);
    }
    LilvHost(const LilvHost&) = delete;
    LilvHost& operator=(const LilvHost&) = delete;

    // A node the host owns until it goes.
    const LilvNode* node(const char* uri) {
        nodes_.push_back(lilv_new_uri(world, uri));
        return nodes_.back();
    }

    float numberOf(const void* value, std::uint32_t size, std::uint32_t type) {
        if (type == urids.id(LV2_ATOM__Float) && size == sizeof(float)) {
            return *static_cast<const float*>(value);
        }
        if (type == urids.id(LV2_ATOM__Double) && size == sizeof(double)) {
            return static_cast<float>(*static_cast<const double*>(value));
        }
        if (type == urids.id(LV2_ATOM__Int) && size == sizeof(std::int32_t)) {
            return static_cast<float>(*static_cast<const std::int32_t*>(value));
        }
        if (type == urids.id(LV2_ATOM__Long) && size == sizeof(std::int64_t)) {
            return static_cast<float>(*static_cast<const std::int64_t*>(value));
        }
        return std::nanf("");
    }

    UridMap urids;
    std::array<const LV2_Feature*, 3> features = {urids.mapFeature(), urids.unmapFeature(),
                                                  nullptr};
    LilvWorld* world = nullptr;
    const LilvPlugin* plugin = nullptr;

private:
    std::vector<LilvNode*> nodes_;
};

// One instance with its ports, rendered block by block with MIDI.
class Lv2Instance {
public:
    Lv2Instance(LilvHost& host, double sampleRate) : midi(host.urids), host_(host) {
        instance = lilv_plugin_instantiate(host.plugin, sampleRate, host.features.data());
        if (instance == nullptr) {
            return;
        }
        for (std::uint32_t port = 0; port < controls.size(); ++port) {
            lilv_instance_connect_port(instance, port, &controls[port]);
        }
        lilv_instance_connect_port(instance, Lv2::kMidiInPort, midi.sequence());
        lilv_instance_connect_port(instance, Lv2::kNotifyPort, notify.data());
    }
    ~Lv2Instance() {
        if (instance != nullptr) {
            if (active_) {
                lilv_instance_deactivate(instance);
            }
            lilv_instance_free(instance);
        }
    }
    Lv2Instance(const Lv2Instance&) = delete;
    Lv2Instance& operator=(const Lv2Instance&) = delete;

    void activate() {
        lilv_instance_activate(instance);
        active_ = true;
    }
    void deactivate() {
        lilv_instance_deactivate(instance);
        active_ = false;
    }

    // One block with the events added since the last, appended to left and right.
    void render(std::uint32_t frames) {
        reinterpret_cast<LV2_Atom*>(notify.data())->size =
            static_cast<std::uint32_t>(notify.size() * sizeof notify[0] - sizeof(LV2_Atom));
        block.assign(2 * std::size_t{frames}, 0.0f);
        lilv_instance_connect_port(instance, Lv2::kLeftOutPort, block.data());
        lilv_instance_connect_port(instance, Lv2::kRightOutPort, block.data() + frames);
        lilv_instance_run(instance, frames);
        left.insert(left.end(), block.begin(), block.begin() + frames);
        right.insert(right.end(), block.begin() + frames, block.end());
        midi.clear();
    }

    // The ports' values for lilv's state functions.
    static const void* portValue(const char* symbol, void* self, std::uint32_t* size,
                                 std::uint32_t* type) {
        auto& instance = *static_cast<Lv2Instance*>(self);
        const int index = instance.portIndex(symbol);
        if (index < 0) {
            return nullptr;
        }
        *size = sizeof(float);
        *type = instance.host_.urids.id(LV2_ATOM__Float);
        return &instance.controls[static_cast<std::size_t>(index)];
    }
    // Presets give their values in whatever numeric type their Turtle literal has.
    static void setPortValue(const char* symbol, void* self, const void* value, std::uint32_t size,
                             std::uint32_t type) {
        auto& instance = *static_cast<Lv2Instance*>(self);
        const int index = instance.portIndex(symbol);
        if (index >= 0) {
            instance.controls[static_cast<std::size_t>(index)] =
                instance.host_.numberOf(value, size, type);
        }
    }

    // The state:StateChanged objects the last block wrote to the notify port.
    int stateChangeNotices() {
        const auto* sequence = reinterpret_cast<const LV2_Atom_Sequence*>(notify.data());
        const LV2_URID object = host_.urids.id(LV2_ATOM__Object);
        const LV2_URID changed = host_.urids.id(LV2_STATE__StateChanged);
        int count = 0;
        LV2_ATOM_SEQUENCE_FOREACH(sequence, event) {
            const auto* body = reinterpret_cast<const LV2_Atom_Object*>(&event->body);
            count += event->body.type == object && body->body.otype == changed ? 1 : 0;
        }
        return count;
    }

    LilvInstance* instance = nullptr;
    std::array<float, kNumProgramKeys> controls{};
    std::array<std::uint64_t, 512> notify{};
    MidiSequence midi;
    std::vector<float> left;
    std::vector<float> right;

private:
    int portIndex(const char* symbol) {
        LilvNode* node = lilv_new_string(host_.world, symbol);
        const LilvPort* port = lilv_plugin_get_port_by_symbol(host_.plugin, node);
        lilv_node_free(node);
        const int index = port ? static_cast<int>(lilv_port_get_index(host_.plugin, port)) : -1;
        return index < static_cast<int>(controls.size()) ? index : -1;
    }

    LilvHost& host_;
    std::vector<float> block;
    bool active_ = false;
};

} // namespace Korvatune::testing
