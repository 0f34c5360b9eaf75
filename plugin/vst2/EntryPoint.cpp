#include "plugin/vst2/EntryPoint.h"

#include "plugin/OfferedEditor.h"
#include "plugin/VstXSynth.h"

#include <new>

extern "C" AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback hostCallback) {
    if (hostCallback == nullptr ||
        hostCallback(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
        return nullptr;
    }
    auto* synth = new (std::nothrow) Korvatune::VstXSynth(hostCallback, Korvatune::offeredEditor());
    return synth ? synth->getAeffect() : nullptr;
}

#ifdef OMBRAFELL_MODULE_ENTRY_ALIAS
// Older hosts look the entry point up as "main". C++ reserves that name, so the module binds it
// to the same function by symbol; programs that link the instrument in keep their own main.
extern "C" OMBRAFELL_EXPORT AEffect* moduleMain(audioMasterCallback) __asm__("main")
    __attribute__((alias("VSTPluginMain")));
#endif
