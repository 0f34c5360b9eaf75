#pragma once

#include "gui/Bitmap.h"

namespace Korvatune::Artwork {

// The two images the Synth page shows beside its controls.
Gui::Bitmap drawProductBadge(); // 158 x 50
Gui::Bitmap drawMakerBadge();   // 110 x 40

} // namespace Korvatune::Artwork
