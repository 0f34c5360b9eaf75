#include "platform/UserSettingsFolder.h"

#include "platform/TextPaths.h"

namespace Korvatune::Platform {

// A relative XDG_CONFIG_HOME is invalid and ignored, as the base directory rules ask.
std::optional<std::filesystem::path> userSettingsFolder() {
    if (const auto configured = environmentVariable("XDG_CONFIG_HOME");
        configured && !configured->empty() && configured->front() == '/') {
        return std::filesystem::path(*configured);
    }
    if (const auto home = environmentVariable("HOME"); home && !home->empty()) {
        return std::filesystem::path(*home) / ".config";
    }
    return std::nullopt;
}

} // namespace Korvatune::Platform
