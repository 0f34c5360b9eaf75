#pragma once

#include "gui/Bitmap.h"
#include "gui/Scale.h"

namespace Korvatune::Artwork {

// Panels, headings, curve screens, readout fields and the label of every control.
Gui::Bitmap drawSynthPageBackground(Gui::Scale scale);

} // namespace Korvatune::Artwork
