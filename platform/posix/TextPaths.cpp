#include "platform/TextPaths.h"

#include <cstdlib>

namespace Korvatune::Platform {

std::FILE* openFile(const char* utf8Path, const char* mode) {
    return std::fopen(utf8Path, mode);
}

std::optional<std::string> environmentVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

std::string hostTextToUtf8(const char* text) {
    return text != nullptr ? std::string(text) : std::string();
}

} // namespace Korvatune::Platform
