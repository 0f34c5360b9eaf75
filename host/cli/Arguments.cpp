#include "host/cli/Arguments.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <set>

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

std::vector<int> parseNumberList(const std::string& text, int lowest, int highest,
                                 const std::string& what) {
    std::set<int> numbers;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, comma - start);
        const std::size_t dash = item.find('-', 1);
        const auto first = asInteger(item.substr(0, dash));
        const auto last = dash == std::string::npos ? first : asInteger(item.substr(dash + 1));
        if (!first || !last || *first > *last) {
            throw UsageError(what +
                             " must be numbers or ranges like 36,38,41 or 24-48, got: " + text);
        }
        if (*first < lowest || *last > highest) {
            throw UsageError(what + " must lie within " + std::to_string(lowest) + ".." +
                             std::to_string(highest) + ", got: " + text);
        }
        for (int number = *first; number <= *last; ++number) {
            numbers.insert(number);
        }
        start = comma + 1;
    }
    return {numbers.begin(), numbers.end()};
}

} // namespace Korvatune
