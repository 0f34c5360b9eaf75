#pragma once

#include <filesystem>
#include <string_view>

namespace Korvatune::Platform {

// Replaces a file's contents in one step: the text goes to a new file beside it, which then
// takes the file's name, so that a reader finds the old contents or the new, never a part.
// Missing folders are made. False when anything fails; the old file then stays as it was.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view contents);

} // namespace Korvatune::Platform
