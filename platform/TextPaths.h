#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Paths travel through the instrument as UTF-8 text; only these functions meet the operating
// system's own file names, so characters outside ASCII survive on every platform.
namespace Korvatune::Platform {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// fopen for a UTF-8 path; null with errno set when the file cannot be opened.
std::FILE* openFile(const char* utf8Path, const char* mode);

// The variable's value in UTF-8, or nothing when it is not set.
std::optional<std::string> environmentVariable(const char* name);

// Text a host hands over (a folder, a chosen file) in UTF-8; hosts on Windows speak the
// system's ANSI code page.
std::string hostTextToUtf8(const char* text);

inline std::string pathToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

inline std::filesystem::path pathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

} // namespace Korvatune::Platform
