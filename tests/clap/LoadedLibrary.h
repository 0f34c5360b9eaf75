#pragma once

// A shared library loaded as a host loads a plug-in, and the paths of the modules under test:
// the ones this build made, or, when the package check names them, the ones a package carries.

#include <cstdlib>
#include <filesystem>
#include <string>

#ifdef _WIN32
#include "platform/TextPaths.h"

#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace Korvatune::testing {

class LoadedLibrary {
public:
    explicit LoadedLibrary(const std::string& path) {
#ifdef _WIN32
        handle_ = LoadLibraryW(Platform::pathFromUtf8(path).wstring().c_str());
#else
        handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
    }
    ~LoadedLibrary() {
        if (handle_ != nullptr) {
#ifdef _WIN32
            FreeLibrary(handle_);
#else
            dlclose(handle_);
#endif
        }
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    bool isOpen() const {
        return handle_ != nullptr;
    }

    void* symbol(const char* name) const {
        if (handle_ == nullptr) {
            return nullptr;
        }
#ifdef _WIN32
        return reinterpret_cast<void*>(GetProcAddress(handle_, name));
#else
        return dlsym(handle_, name);
#endif
    }

private:
#ifdef _WIN32
    HMODULE handle_ = nullptr;
#else
    void* handle_ = nullptr;
#endif
};

inline std::string givenOrBuilt(const char* variable, const std::string& built) {
    const char* given = std::getenv(variable);
    return given != nullptr && *given != '\0' ? given : built;
}

#ifdef _WIN32
// Windows test programs find the modules beside them, as a host finds them in its folder.
inline std::string besideProgram(const wchar_t* name) {
    wchar_t program[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH);
    return Platform::pathToUtf8(std::filesystem::path(std::wstring(program, length)).parent_path() /
                                name);
}

inline std::string clapModuleUnderTest() {
    return givenOrBuilt("OMBRAFELL_TEST_CLAP_MODULE", besideProgram(L"Ombrafell.clap"));
}

inline std::string vst2ModuleUnderTest() {
    return givenOrBuilt("OMBRAFELL_TEST_VST2_MODULE", besideProgram(L"Ombrafell.dll"));
}
#else
inline std::string clapModuleUnderTest() {
    return givenOrBuilt("OMBRAFELL_TEST_CLAP_MODULE", OMBRAFELL_CLAP_MODULE);
}

inline std::string vst2ModuleUnderTest() {
    return givenOrBuilt("OMBRAFELL_TEST_VST2_MODULE", OMBRAFELL_MODULE_PATH);
}
#endif

} // namespace Korvatune::testing
