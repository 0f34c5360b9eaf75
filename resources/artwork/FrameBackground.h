#pragma once

#include "gui/Bitmap.h"
#include "gui/Scale.h"

namespace Korvatune::Artwork {

inline constexpr int kFrameWidth = 800;
inline constexpr int kFrameHeight = 465;

// The window's chassis: name plate above the pages, a recess the pages sit in, tab strip below.
Gui::Bitmap drawFrameBackground(Gui::Scale scale);

} // namespace Korvatune::Artwork
