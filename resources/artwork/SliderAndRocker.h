#pragma once

#include "gui/Bitmap.h"
#include "gui/Scale.h"

namespace Korvatune::Artwork {

// Design sizes; the images are drawn at these sizes times the scale.
inline constexpr int kRockerFrameWidth = 12;
inline constexpr int kRockerHeight = 24;
inline constexpr int kSliderHandleWidth = 9;
inline constexpr int kSliderHandleHeight = 16;
inline constexpr int kSliderTrackWidth = 60;
inline constexpr int kSliderTrackHeight = 20;

// Three frames side by side: upper half pressed, at rest, lower half pressed.
Gui::Bitmap drawRocker(Gui::Scale scale);
Gui::Bitmap drawSliderHandle(Gui::Scale scale);
// The handle's left edge travels from x 2 to x 50 of the track, drawn 2 pixels below its top.
Gui::Bitmap drawSliderTrack(Gui::Scale scale);

} // namespace Korvatune::Artwork
