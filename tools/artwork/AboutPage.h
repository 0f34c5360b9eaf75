#pragma once

#include "gui/Bitmap.h"

namespace Korvatune::Artwork {

// The About page lays these out overlapping: the title's lower part stays clear for the
// subtitle, and the information panel's top rows fall under the title's clear part.
Gui::Bitmap drawAboutTitle();       // 640 x 126
Gui::Bitmap drawAboutSubtitle();    // 580 x 40
Gui::Bitmap drawAboutInformation(); // 520 x 181
Gui::Bitmap drawAboutMaker();       // 110 x 50

} // namespace Korvatune::Artwork
