#pragma once

#include "gui/Bitmap.h"
#include "gui/Color.h"

namespace Korvatune::Artwork {

inline constexpr int kKnobFrames = 128;

struct KnobStyle {
    int size; // frame width and height in pixels
    Gui::Color accent;
    bool centred; // the arc grows from twelve o'clock, for controls with a neutral middle
};

// All frames side by side; frame k shows the value k / (kKnobFrames - 1).
Gui::Bitmap drawKnobStrip(const KnobStyle& style);

} // namespace Korvatune::Artwork
