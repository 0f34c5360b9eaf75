#pragma once

#include "gui/Bitmap.h"
#include "gui/Scale.h"

namespace Korvatune::Artwork {

// The About page lays these out overlapping: the title's lower part stays clear for the
// subtitle, and the information panel's top rows fall under the title's clear part. Sizes are
// in design pixels.
Gui::Bitmap drawAboutTitle(Gui::Scale scale);       // 640 x 126
Gui::Bitmap drawAboutSubtitle(Gui::Scale scale);    // 580 x 40
Gui::Bitmap drawAboutInformation(Gui::Scale scale); // 520 x 181
Gui::Bitmap drawAboutMaker(Gui::Scale scale);       // 110 x 50

} // namespace Korvatune::Artwork
