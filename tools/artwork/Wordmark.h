#pragma once

#include "gui/Bitmap.h"
#include "gui/Geometry.h"

namespace Korvatune::Artwork {

// The product name with its second half in the accent colour.
int wordmarkWidth(int scale);
void drawWordmark(Gui::Bitmap& target, Gui::Point topLeft, int scale);

} // namespace Korvatune::Artwork
