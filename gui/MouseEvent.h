#pragma once

#include "gui/Geometry.h"

#include <cstdint>

namespace Korvatune::Gui {

enum class MouseButton { Left, Middle, Right };

// The modifier keys held when an event happened.
struct Modifiers {
    bool shift = false;
    bool control = false;
};

// A view receives the position in its parent's coordinates, the space of its own rectangle.
struct MouseEvent {
    Point where;
    MouseButton button = MouseButton::Left;
    Modifiers modifiers{};
    // 2 for the second press of a double-click; the frame counts it from the presses' times.
    int clickCount = 1;
    // The platform's event time; only differences between events matter.
    std::uint32_t timeMs = 0;
};

} // namespace Korvatune::Gui
