#pragma once

#include "plugin/vst2/VstAbi.h"

#include <string>

namespace Korvatune {

using PluginEntry = AEffect*(VSTCALLBACK*)(audioMasterCallback);

// A VST module opened with dlopen or LoadLibrary; closed when the loader goes.
class ModuleLoader {
public:
    ModuleLoader() = default;
    ~ModuleLoader();
    ModuleLoader(const ModuleLoader&) = delete;
    ModuleLoader& operator=(const ModuleLoader&) = delete;

    // Opens the module and finds its entry point; on failure says why in error.
    bool open(const std::string& path, std::string& error);
    PluginEntry entry() const { return entryPoint; }
    const std::string& directory() const { return folder; }

private:
    void* handle = nullptr;
    PluginEntry entryPoint = nullptr;
    std::string folder;
};

} // namespace Korvatune
