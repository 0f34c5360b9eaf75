#include "host/ModuleLoader.h"

#include <dlfcn.h>
#include <filesystem>

namespace Korvatune {

ModuleLoader::~ModuleLoader() {
    if (handle) {
        dlclose(handle);
    }
}

bool ModuleLoader::open(const std::string& path, std::string& error) {
    // A bare file name would make dlopen search the library path instead of the given file.
    const std::filesystem::path modulePath = std::filesystem::absolute(path);
    handle = dlopen(modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* reason = dlerror();
        error = reason ? reason : "cannot open module";
        return false;
    }
    void* symbol = dlsym(handle, "VSTPluginMain");
    if (!symbol) {
        symbol = dlsym(handle, "main");
    }
    if (!symbol) {
        error = "no VSTPluginMain or main entry point in " + path;
        return false;
    }
    entryPoint = reinterpret_cast<PluginEntry>(symbol);
    folder = modulePath.parent_path().string();
    return true;
}

} // namespace Korvatune
