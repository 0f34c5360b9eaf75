#pragma once

#include "gui/Bitmap.h"

namespace Korvatune::Artwork {

// Panels, headings, curve screens, readout fields and the label of every control.
Gui::Bitmap drawSynthPageBackground();

} // namespace Korvatune::Artwork
