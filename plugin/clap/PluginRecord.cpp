// The plug-in's lifecycle as C callbacks over ClapInstrument. No exception leaves through them.

#include "plugin/clap/PluginRecord.h"

#include "plugin/clap/ClapDescriptor.h"
#include "plugin/clap/ClapInstrument.h"
#include "plugin/clap/PluginExtensions.h"

namespace Korvatune::Clap {

namespace {

bool init(const Plugin* plugin) {
    ClapInstrument::of(plugin).init();
    return true;
}

void destroy(const Plugin* plugin) {
    delete &ClapInstrument::of(plugin);
}

bool activate(const Plugin* plugin, double sampleRate, std::uint32_t, std::uint32_t maxFrames) {
    try {
        return ClapInstrument::of(plugin).activate(sampleRate, maxFrames);
    } catch (...) {
        return false;
    }
}

void deactivate(const Plugin* plugin) {
    ClapInstrument::of(plugin).deactivate();
}

bool startProcessing(const Plugin*) {
    return true;
}

void stopProcessing(const Plugin*) {}

void reset(const Plugin* plugin) {
    ClapInstrument::of(plugin).releaseAllNotes();
}

std::int32_t process(const Plugin* plugin, const Process* process) {
    return process != nullptr ? ClapInstrument::of(plugin).process(*process) : kProcessError;
}

const void* getExtension(const Plugin*, const char* id) {
    return id != nullptr ? pluginExtension(id) : nullptr;
}

void onMainThread(const Plugin*) {}

} // namespace

Plugin pluginRecord(ClapInstrument* instance) {
    return {&pluginDescriptor(), instance,       init,  destroy, activate,     deactivate,
            startProcessing,     stopProcessing, reset, process, getExtension, onMainThread};
}

} // namespace Korvatune::Clap
