#include "plugin/lv2/turtle/TurtleText.h"

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace Korvatune::Lv2 {

std::string turtleString(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + '"';
}

// Hosts parse the literal as a double and narrow it to float, so that is the trip checked.
std::string turtleDecimal(float value) {
    for (int places = 1; places < 64; ++places) {
        char text[128];
        std::snprintf(text, sizeof text, "%.*f", places, static_cast<double>(value));
        const auto parsed = static_cast<float>(std::strtod(text, nullptr));
        if (std::bit_cast<std::uint32_t>(parsed) == std::bit_cast<std::uint32_t>(value)) {
            return text;
        }
    }
    throw std::invalid_argument("no decimal literal for a value that is not finite");
}

} // namespace Korvatune::Lv2
