#include "platform/ProgramLibraryFolder.h"

#include "platform/TextPaths.h"

namespace Korvatune::Platform {

// A relative XDG_DATA_HOME is invalid and ignored, as the base directory rules ask.
std::optional<std::filesystem::path> systemProgramLibraryFolder() {
    std::filesystem::path data;
    if (const auto configured = environmentVariable("XDG_DATA_HOME");
        configured && !configured->empty() && configured->front() == '/') {
        data = *configured;
    } else if (const auto home = environmentVariable("HOME"); home && !home->empty()) {
        data = std::filesystem::path(*home) / ".local" / "share";
    } else {
        return std::nullopt;
    }
    return data / "Korvatune" / "Ombrafell" / "Programs";
}

} // namespace Korvatune::Platform
