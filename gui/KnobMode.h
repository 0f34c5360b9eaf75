#pragma once

#include <cstdint>
#include <optional>

namespace Korvatune::Gui {

// How a drag turns a knob; the numbers are those a host sends with its knob-mode request.
enum class KnobMode {
    Circular = 0,         // the value follows the pointer's angle around the knob
    RelativeCircular = 1, // turning around the knob adds the angle turned
    Linear = 2,           // dragging up raises the value, down lowers it
};

inline std::optional<KnobMode> knobModeFromNumber(std::int64_t number) {
    switch (number) {
    case 0:
        return KnobMode::Circular;
    case 1:
        return KnobMode::RelativeCircular;
    case 2:
        return KnobMode::Linear;
    default:
        return std::nullopt;
    }
}

} // namespace Korvatune::Gui
