// The editor's entry point for LV2 hosts: C callbacks over Lv2Ui. No exception leaves through
// them.

#include "plugin/lv2/Lv2Ui.h"
#include "plugin/lv2/Lv2Uris.h"

#include <lv2/ui/ui.h>

#include <cstring>

namespace Korvatune::Lv2 {
namespace {

Lv2Ui& uiOf(LV2UI_Handle handle) {
    return *static_cast<Lv2Ui*>(handle);
}

LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char*, const char*,
                         LV2UI_Write_Function write, LV2UI_Controller controller,
                         LV2UI_Widget* widget, const LV2_Feature* const* features) {
    try {
        return Lv2Ui::create(write, controller, widget, features).release();
    } catch (...) {
        return nullptr;
    }
}

void cleanup(LV2UI_Handle handle) {
    delete &uiOf(handle);
}

void portEvent(LV2UI_Handle handle, std::uint32_t port, std::uint32_t size, std::uint32_t format,
               const void* buffer) {
    uiOf(handle).portEvent(port, size, format, buffer);
}

// The editor has no close button of its own; the host closes it.
int idle(LV2UI_Handle handle) {
    try {
        uiOf(handle).idle();
    } catch (...) {
    }
    return 0;
}

const LV2UI_Idle_Interface kIdleInterface = {idle};

const void* extensionData(const char* uri) {
    return std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &kIdleInterface : nullptr;
}

const LV2UI_Descriptor kDescriptor = {kUiUri, instantiate, cleanup, portEvent, extensionData};

} // namespace
} // namespace Korvatune::Lv2

extern "C" LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(std::uint32_t index) {
    return index == 0 ? &Korvatune::Lv2::kDescriptor : nullptr;
}
