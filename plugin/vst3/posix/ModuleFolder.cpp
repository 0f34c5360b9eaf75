#include "plugin/vst3/ModuleFolder.h"

#include "platform/TextPaths.h"

#include <dlfcn.h>

#include <filesystem>

namespace Korvatune::Vst3 {

// The binary lies in Contents/<architecture>/.
std::string bundleResourcesFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&bundleResourcesFolder), &info) == 0 ||
        info.dli_fname == nullptr) {
        return {};
    }
    const std::filesystem::path binary = std::filesystem::absolute(info.dli_fname);
    return Platform::pathToUtf8(binary.parent_path().parent_path() / "Resources");
}

} // namespace Korvatune::Vst3
