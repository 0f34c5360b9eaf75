#pragma once

#include "gui/Bitmap.h"
#include "gui/Color.h"
#include "gui/Geometry.h"

namespace Korvatune::Artwork {

// The shape the instrument is made for: a sine that drops in pitch as it dies away.
void drawKickWave(Gui::Bitmap& target, Gui::Rect box, Gui::Color color, double lineWidth);

} // namespace Korvatune::Artwork
