#pragma once

#include "gui/Bitmap.h"
#include "gui/Geometry.h"
#include "gui/Scale.h"

namespace Korvatune::Artwork {

// The product name with its second half in the accent colour, its font pixels `size` design
// pixels large.
int wordmarkWidth(int size, Gui::Scale scale);
void drawWordmark(Gui::Bitmap& target, Gui::Point topLeft, int size, Gui::Scale scale);

} // namespace Korvatune::Artwork
