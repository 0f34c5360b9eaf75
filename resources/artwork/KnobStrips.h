#pragma once

#include "gui/Bitmap.h"
#include "gui/Color.h"
#include "gui/Scale.h"

namespace Korvatune::Artwork {

inline constexpr int kKnobFrames = 128;

struct KnobStyle {
    int size; // design width and height of a frame, in pixels
    Gui::Color accent;
    bool centred; // the arc grows from twelve o'clock, for controls with a neutral middle

    friend bool operator==(const KnobStyle&, const KnobStyle&) = default;
};

// Frame k of a knob's film strip, showing the value k / (kKnobFrames - 1), drawn at the size
// the knob has at that scale.
Gui::Bitmap drawKnobFrame(const KnobStyle& style, Gui::Scale scale, int frame);

} // namespace Korvatune::Artwork
