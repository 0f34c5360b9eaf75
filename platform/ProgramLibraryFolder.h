#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace Korvatune::Platform {

// The folder of the user's program library: OMBRAFELL_LIBRARY when set and not empty, else the
// system's own place (below). Nothing when none can be found.
std::optional<std::filesystem::path> programLibraryFolder();
// Linux: $XDG_DATA_HOME (or ~/.local/share when it is unset, empty or relative)
// /Korvatune/Ombrafell/Programs; Windows: the user's Documents\Korvatune\Ombrafell\Programs.
std::optional<std::filesystem::path> systemProgramLibraryFolder();
// "Exports" beside the library folder.
std::optional<std::filesystem::path> exportFolder();
// Creates the folder and its parents when missing; false with a reason when it cannot.
bool ensureFolder(const std::filesystem::path& folder, std::string& error);

} // namespace Korvatune::Platform
