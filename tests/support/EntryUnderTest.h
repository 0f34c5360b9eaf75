#pragma once

#include "plugin/vst2/EntryPoint.h"

#ifdef OMBRAFELL_TEST_MODULE
#include "host/ModuleLoader.h"
#include "support/ModuleBesideProgram.h"

#include <cstdlib>
#include <iostream>
#endif

namespace Korvatune::testing {

using EntryFunction = AEffect*(VSTCALLBACK*)(audioMasterCallback);

#ifdef OMBRAFELL_TEST_MODULE
// The built module, loaded once from beside the test program, so the tests play what a host
// plays.
inline EntryFunction entryUnderTest() {
    static ModuleLoader loader;
    static const EntryFunction entry = [] {
        std::string error;
        if (!loader.open(moduleBesideProgram(), error)) {
            std::cerr << error << '\n';
            std::abort();
        }
        return loader.entry();
    }();
    return entry;
}
#else
// The instrument linked into the test program.
inline EntryFunction entryUnderTest() {
    return VSTPluginMain;
}
#endif

} // namespace Korvatune::testing
