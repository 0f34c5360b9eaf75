#include "platform/ProgramLibraryFolder.h"

#include "platform/TextPaths.h"

#include <system_error>

namespace Korvatune::Platform {

std::optional<std::filesystem::path> programLibraryFolder() {
    if (const auto chosen = environmentVariable("OMBRAFELL_LIBRARY"); chosen && !chosen->empty()) {
        return pathFromUtf8(*chosen);
    }
    return systemProgramLibraryFolder();
}

// A trailing separator ("/a/Programs/") must not make the library its own parent.
std::optional<std::filesystem::path> exportFolder() {
    auto library = programLibraryFolder();
    if (!library) {
        return std::nullopt;
    }
    std::filesystem::path folder = library->lexically_normal();
    if (!folder.has_filename()) {
        folder = folder.parent_path();
    }
    return folder.parent_path() / "Exports";
}

bool ensureFolder(const std::filesystem::path& folder, std::string& error) {
    if (folder.empty()) {
        error = "no folder was named";
        return false;
    }
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    if (!failure && !std::filesystem::is_directory(folder, failure)) {
        failure = std::make_error_code(std::errc::not_a_directory);
    }
    if (failure) {
        error = pathToUtf8(folder) + ": " + failure.message();
        return false;
    }
    return true;
}

} // namespace Korvatune::Platform
