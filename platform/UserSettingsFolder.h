#pragma once

#include <filesystem>
#include <optional>

namespace Korvatune::Platform {

// The folder that holds a user's settings of programs: $XDG_CONFIG_HOME, else ~/.config, on
// Linux; %APPDATA% on Windows. Nothing when the environment names none.
std::optional<std::filesystem::path> userSettingsFolder();

} // namespace Korvatune::Platform
