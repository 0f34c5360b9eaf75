#pragma once

#include "gui/Bitmap.h"

namespace Korvatune::Artwork {

inline constexpr int kRockerFrameWidth = 12;
inline constexpr int kRockerHeight = 24;
inline constexpr int kSliderHandleWidth = 9;
inline constexpr int kSliderHandleHeight = 16;
inline constexpr int kSliderTrackWidth = 60;
inline constexpr int kSliderTrackHeight = 20;

// Three frames side by side: upper half pressed, at rest, lower half pressed.
Gui::Bitmap drawRocker();
Gui::Bitmap drawSliderHandle();
// The handle's left edge travels from x 2 to x 50 of the track, drawn 2 pixels below its top.
Gui::Bitmap drawSliderTrack();

} // namespace Korvatune::Artwork
