// The module's exports, the only names a host looks up in it.

#include "plugin/vst3/Vst3Factory.h"

#ifdef _WIN32
// The module's .def file names the exports.
#define OMBRAFELL_VST3_EXPORT
#else
#define OMBRAFELL_VST3_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

OMBRAFELL_VST3_EXPORT Korvatune::Vst3::IPluginFactory* VST3_API GetPluginFactory() {
    return Korvatune::Vst3::moduleFactory();
}

// Nothing to set up or take down: the factory is a static object, the instances hold the rest.
#ifdef _WIN32
OMBRAFELL_VST3_EXPORT bool InitDll() {
    return true;
}

OMBRAFELL_VST3_EXPORT bool ExitDll() {
    return true;
}
#else
OMBRAFELL_VST3_EXPORT bool ModuleEntry(void*) {
    return true;
}

OMBRAFELL_VST3_EXPORT bool ModuleExit() {
    return true;
}
#endif
}
