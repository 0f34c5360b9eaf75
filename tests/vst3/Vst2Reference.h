#pragma once

#include "support/EntryUnderTest.h"

#ifndef _WIN32
#include <dlfcn.h>
#endif

namespace Korvatune::testing {

// The VST 2 module's entry point, from the module as a host loads it: beside the test program
// on Windows, where this build made it on Linux.
inline EntryFunction vst2Entry() {
#ifdef _WIN32
    return entryUnderTest();
#else
    static void* const module = dlopen(OMBRAFELL_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    return module ? reinterpret_cast<EntryFunction>(dlsym(module, "VSTPluginMain")) : nullptr;
#endif
}

} // namespace Korvatune::testing
