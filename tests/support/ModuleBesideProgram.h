#pragma once

#include "platform/TextPaths.h"

#include <windows.h>

#include <filesystem>
#include <string>

namespace Korvatune::testing {

// The path of Ombrafell.dll in the test program's own folder.
inline std::string moduleBesideProgram() {
    wchar_t program[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH);
    const std::filesystem::path folder =
        std::filesystem::path(std::wstring(program, length)).parent_path();
    return Platform::pathToUtf8(folder / L"Ombrafell.dll");
}

} // namespace Korvatune::testing
