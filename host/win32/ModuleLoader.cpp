#include "host/ModuleLoader.h"

#include "platform/TextPaths.h"

#include <windows.h>

#include <filesystem>

namespace Korvatune {

namespace {

std::string lastErrorText() {
    return "Windows error " + std::to_string(GetLastError());
}

} // namespace

ModuleLoader::~ModuleLoader() {
    if (handle) {
        FreeLibrary(static_cast<HMODULE>(handle));
    }
}

bool ModuleLoader::open(const std::string& path, std::string& error) {
    // A bare file name would make LoadLibrary search the system folders instead of the file.
    const std::filesystem::path modulePath =
        std::filesystem::absolute(Platform::pathFromUtf8(path));
    HMODULE module = LoadLibraryW(modulePath.c_str());
    if (!module) {
        error = "cannot open module " + path + ": " + lastErrorText();
        return false;
    }
    handle = module;
    FARPROC symbol = GetProcAddress(module, "VSTPluginMain");
    if (!symbol) {
        symbol = GetProcAddress(module, "main");
    }
    if (!symbol) {
        error = "no VSTPluginMain or main entry point in " + path;
        return false;
    }
    entryPoint = reinterpret_cast<PluginEntry>(reinterpret_cast<void*>(symbol));
    folder = Platform::pathToUtf8(modulePath.parent_path());
    return true;
}

} // namespace Korvatune
