#include "host/Arguments.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace Korvatune {

const std::string& Arguments::valueOf(const std::string& option) {
    if (done()) {
        throw UsageError("option " + option + " needs a value");
    }
    return next();
}

std::optional<int> asInteger(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || value < INT_MIN || value > INT_MAX) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

int parseInteger(const std::string& text, const std::string& what) {
    const auto value = asInteger(text);
    if (!value) {
        throw UsageError(what + " is not a whole number: " + text);
    }
    return *value;
}

float parseNumber(const std::string& text, const std::string& what) {
    char* end = nullptr;
    const float value = std::strtof(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(value)) {
        throw UsageError(what + " is not a number: " + text);
    }
    return value;
}

} // namespace Korvatune
