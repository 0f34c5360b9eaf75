#include "platform/UserSettingsFolder.h"

#include "platform/TextPaths.h"

namespace Korvatune::Platform {

std::optional<std::filesystem::path> userSettingsFolder() {
    if (const auto roaming = environmentVariable("APPDATA"); roaming && !roaming->empty()) {
        return pathFromUtf8(*roaming);
    }
    return std::nullopt;
}

} // namespace Korvatune::Platform
