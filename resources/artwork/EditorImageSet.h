#pragma once

#include "gui/Bitmap.h"
#include "gui/Scale.h"
#include "resources/artwork/KnobStrips.h"

#include <optional>
#include <span>

namespace Korvatune::Artwork {

// A still image by id, drawn at a scale; empty for an id that names none.
Gui::Bitmap drawStillImage(int id, Gui::Scale scale);

// The ids of the knobs' film strips, and the style of each; nothing for an id that names no
// strip.
std::span<const int> knobStripIds();
std::optional<KnobStyle> knobStripStyle(int id);

} // namespace Korvatune::Artwork
