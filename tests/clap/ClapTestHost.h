#pragma once

// A CLAP host of our own, on the plug-in's declarations of the interface: it loads a module as
// hosts do, answers the extensions the plug-in asks for and records what the plug-in asks of it.

#include "clap/ClapEvents.h"
#include "clap/LoadedLibrary.h"
#include "plugin/clap/ClapAbi.h"
#include "plugin/clap/ClapExtensions.h"
#include "plugin/clap/ClapPresetDiscovery.h"

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Korvatune::testing {

inline constexpr const char* kPluginId = "example.korvatune.ombrafell";

// A loaded module, initialised from its own path, deinitialised and unloaded at the end.
class ClapModule {
public:
    explicit ClapModule(const std::string& path = clapModuleUnderTest()) : library_(path) {
        entry = static_cast<const Clap::PluginEntry*>(library_.symbol("clap_entry"));
        initialised_ = entry != nullptr && entry->init(path.c_str());
    }
    ~ClapModule() {
        if (initialised_) {
            entry->deinit();
        }
    }
    ClapModule(const ClapModule&) = delete;
    ClapModule& operator=(const ClapModule&) = delete;

    bool ready() const { return initialised_; }
    const Clap::PluginFactory* pluginFactory() const {
        return static_cast<const Clap::PluginFactory*>(entry->getFactory(Clap::kPluginFactoryId));
    }
    const Clap::PresetDiscoveryFactory* presetFactory() const {
        return static_cast<const Clap::PresetDiscoveryFactory*>(
            entry->getFactory(Clap::kPresetDiscoveryFactoryId));
    }

    const Clap::PluginEntry* entry = nullptr;

private:
    LoadedLibrary library_;
    bool initialised_ = false;
};

// The host side of one instance: its extensions record every request.
class TestHost {
public:
    TestHost() {
        host_ = {Clap::kVersion,
                 this,
                 "Ombrafell test host",
                 "Korvatune",
                 "",
                 "1.0",
                 &TestHost::extension,
                 [](const Clap::Host*) {},
                 [](const Clap::Host*) {},
                 [](const Clap::Host*) {}};
    }
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    const Clap::Host* get() const { return &host_; }

    std::vector<std::string> logged;
    int rescans = 0;
    int flushRequests = 0;
    int dirtyMarks = 0;
    std::vector<std::string> loadedPresets;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> resizeRequests;
    bool makesRoom = true;
    // Registered timers by id, with their periods.
    std::map<std::uint32_t, std::uint32_t> timers;
    std::uint32_t nextTimer = 7;

private:
    static TestHost& of(const Clap::Host* host) { return *static_cast<TestHost*>(host->hostData); }

    static const void* extension(const Clap::Host*, const char* id) {
        static const Clap::HostLog log = {
            [](const Clap::Host* host, std::int32_t, const char* text) {
                of(host).logged.emplace_back(text);
            }};
        static const Clap::HostParams params = {
            [](const Clap::Host* host, std::uint32_t) { ++of(host).rescans; },
            [](const Clap::Host*, std::uint32_t, std::uint32_t) {},
            [](const Clap::Host* host) { ++of(host).flushRequests; }};
        static const Clap::HostPresetLoad presetLoad = {
            [](const Clap::Host*, std::uint32_t, const char*, const char*, std::int32_t,
               const char*) {},
            [](const Clap::Host* host, std::uint32_t, const char*, const char* key) {
                of(host).loadedPresets.emplace_back(key != nullptr ? key : "");
            }};
        static const Clap::HostGui gui = {
            [](const Clap::Host*) {},
            [](const Clap::Host* host, std::uint32_t width, std::uint32_t height) {
                of(host).resizeRequests.emplace_back(width, height);
                return of(host).makesRoom;
            },
            [](const Clap::Host*) { return false; }, [](const Clap::Host*) { return false; },
            [](const Clap::Host*, bool) {}};
        static const Clap::HostTimerSupport timerSupport = {
            [](const Clap::Host* host, std::uint32_t period, std::uint32_t* id) {
                *id = of(host).nextTimer++;
                of(host).timers[*id] = period;
                return true;
            },
            [](const Clap::Host* host, std::uint32_t id) {
                return of(host).timers.erase(id) == 1;
            }};
        static const Clap::HostState state = {
            [](const Clap::Host* host) { ++of(host).dirtyMarks; }};
        const auto is = [id](const char* name) { return std::strcmp(id, name) == 0; };
        if (is(Clap::kStateExtension)) {
            return &state;
        }
        if (is(Clap::kLogExtension)) {
            return &log;
        }
        if (is(Clap::kParamsExtension)) {
            return &params;
        }
        if (is(Clap::kPresetLoadExtension)) {
            return &presetLoad;
        }
        if (is(Clap::kGuiExtension)) {
            return &gui;
        }
        return is(Clap::kTimerSupportExtension) ? &timerSupport : nullptr;
    }

    Clap::Host host_;
};

// One instance of the plug-in, created and initialised, rendered block by block.
class ClapInstance {
public:
    ClapInstance(const ClapModule& module, TestHost& host) {
        const Clap::PluginFactory* factory = module.ready() ? module.pluginFactory() : nullptr;
        plugin =
            factory != nullptr ? factory->createPlugin(factory, host.get(), kPluginId) : nullptr;
        if (plugin != nullptr && !plugin->init(plugin)) {
            plugin->destroy(plugin);
            plugin = nullptr;
        }
    }
    ~ClapInstance() {
        if (plugin != nullptr) {
            if (active_) {
                plugin->stopProcessing(plugin);
                plugin->deactivate(plugin);
            }
            plugin->destroy(plugin);
        }
    }
    ClapInstance(const ClapInstance&) = delete;
    ClapInstance& operator=(const ClapInstance&) = delete;

    template <class Extension> const Extension* extension(const char* id) const {
        return static_cast<const Extension*>(plugin->getExtension(plugin, id));
    }
    const Clap::PluginParams& params() const {
        return *extension<Clap::PluginParams>(Clap::kParamsExtension);
    }

    bool activate(double sampleRate, std::uint32_t maxFrames = 4096) {
        active_ =
            plugin->activate(plugin, sampleRate, 1, maxFrames) && plugin->startProcessing(plugin);
        return active_;
    }

    bool loadProgram(int program) {
        const auto* presets = extension<Clap::PluginPresetLoad>(Clap::kPresetLoadExtension);
        return presets->fromLocation(plugin, Clap::kPresetLocationPlugin, nullptr,
                                     std::to_string(program).c_str());
    }

    double value(std::uint32_t id) const {
        double value = -1.0;
        params().getValue(plugin, id, &value);
        return value;
    }

    // Sets values outside of a block, as a host does while it does not run the plug-in.
    void flush(const EventList& events) { params().flush(plugin, events.get(), sent.get()); }

    // One block with its events, appended to left and right.
    std::int32_t process(std::uint32_t frames, const EventList& events) {
        block_.assign(2 * std::size_t{frames}, 1.0f);
        float* channels[] = {block_.data(), block_.data() + frames};
        Clap::AudioBuffer output{channels, nullptr, 2, 0, 0};
        const Clap::Process process{steadyTime_, frames, nullptr,      nullptr,   &output,
                                    0,           1,      events.get(), sent.get()};
        steadyTime_ += frames;
        const std::int32_t status = plugin->process(plugin, &process);
        left.insert(left.end(), block_.begin(), block_.begin() + frames);
        right.insert(right.end(), block_.begin() + frames, block_.end());
        return status;
    }

    // Left, then right.
    std::vector<float> both() const {
        std::vector<float> samples = left;
        samples.insert(samples.end(), right.begin(), right.end());
        return samples;
    }

    const Clap::Plugin* plugin = nullptr;
    std::vector<float> left;
    std::vector<float> right;
    SentEvents sent;

private:
    std::vector<float> block_;
    std::int64_t steadyTime_ = 0;
    bool active_ = false;
};

} // namespace Korvatune::testing
