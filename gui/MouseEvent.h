#pragma once

#include "gui/Geometry.h"

namespace Korvatune::Gui {

enum class MouseButton { Left, Middle, Right };

// A view receives the position in its parent's coordinates, the space of its own rectangle.
struct MouseEvent {
    Point where;
    MouseButton button = MouseButton::Left;
};

} // namespace Korvatune::Gui
