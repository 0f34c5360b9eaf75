#include "plugin/vst3/ModuleFolder.h"

#include "platform/TextPaths.h"

#include <windows.h>

#include <filesystem>
#include <string>

namespace Korvatune::Vst3 {

// The binary lies in Contents\<architecture>\; paths of any length and script.
std::string bundleResourcesFolder() {
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&bundleResourcesFolder), &module)) {
        return {};
    }
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::filesystem::path binary(path);
    return Platform::pathToUtf8(binary.parent_path().parent_path() / L"Resources");
}

} // namespace Korvatune::Vst3
