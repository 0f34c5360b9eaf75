#pragma once

#include "gui/Bitmap.h"
#include "gui/Scale.h"

namespace Korvatune::Artwork {

// The two images the Synth page shows beside its controls.
Gui::Bitmap drawProductBadge(Gui::Scale scale); // 158 x 50 design pixels
Gui::Bitmap drawMakerBadge(Gui::Scale scale);   // 110 x 40 design pixels

} // namespace Korvatune::Artwork
