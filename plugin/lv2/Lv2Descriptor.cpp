// The plug-in's entry point for LV2 hosts: C callbacks over Lv2Instrument. No exception leaves
// through them.

#include "plugin/lv2/Lv2Instrument.h"
#include "plugin/lv2/Lv2Uris.h"

#include <lv2/core/lv2.h>
#include <lv2/state/state.h>

#include <cstring>

namespace Korvatune::Lv2 {
namespace {

Lv2Instrument& instrumentOf(LV2_Handle handle) {
    return *static_cast<Lv2Instrument*>(handle);
}

LV2_Handle instantiate(const LV2_Descriptor*, double sampleRate, const char* bundlePath,
                       const LV2_Feature* const* features) {
    try {
        return Lv2Instrument::create(sampleRate, bundlePath, features).release();
    } catch (...) {
        return nullptr;
    }
}

void connectPort(LV2_Handle handle, std::uint32_t port, void* data) {
    instrumentOf(handle).connectPort(port, data);
}

void activate(LV2_Handle handle) {
    instrumentOf(handle).activate();
}

void run(LV2_Handle handle, std::uint32_t frames) {
    instrumentOf(handle).run(frames);
}

void deactivate(LV2_Handle handle) {
    instrumentOf(handle).deactivate();
}

void cleanup(LV2_Handle handle) {
    delete &instrumentOf(handle);
}

LV2_State_Status save(LV2_Handle handle, LV2_State_Store_Function store,
                      LV2_State_Handle stateHandle, std::uint32_t, const LV2_Feature* const*) {
    try {
        return instrumentOf(handle).save(store, stateHandle);
    } catch (...) {
        return LV2_STATE_ERR_UNKNOWN;
    }
}

LV2_State_Status restore(LV2_Handle handle, LV2_State_Retrieve_Function retrieve,
                         LV2_State_Handle stateHandle, std::uint32_t, const LV2_Feature* const*) {
    try {
        return instrumentOf(handle).restore(retrieve, stateHandle);
    } catch (...) {
        return LV2_STATE_ERR_UNKNOWN;
    }
}

const LV2_State_Interface kStateInterface = {save, restore};

const void* extensionData(const char* uri) {
    return std::strcmp(uri, LV2_STATE__interface) == 0 ? &kStateInterface : nullptr;
}

const LV2_Descriptor kDescriptor = {kPluginUri, instantiate, connectPort, activate,
                                    run,        deactivate,  cleanup,     extensionData};

} // namespace
} // namespace Korvatune::Lv2

extern "C" LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(std::uint32_t index) {
    return index == 0 ? &Korvatune::Lv2::kDescriptor : nullptr;
}
