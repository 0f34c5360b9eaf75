#pragma once

#include "gui/Color.h"

namespace Korvatune::Artwork::Palette {

using Gui::Color;

// The chassis and panels, darkest first.
inline constexpr Color kScreen{8, 10, 12};
inline constexpr Color kChassisDark{16, 17, 20};
inline constexpr Color kChassis{27, 28, 33};
inline constexpr Color kPanel{35, 37, 43};
inline constexpr Color kPanelEdge{58, 61, 70};
inline constexpr Color kInset{14, 15, 18};
inline constexpr Color kGrid{26, 38, 34};

inline constexpr Color kLabel{196, 199, 207};
inline constexpr Color kDimText{120, 124, 134};
inline constexpr Color kHeading{255, 146, 48};

// One accent per family of controls, so that a knob's colour tells its section.
inline constexpr Color kOscillator{255, 146, 48};
inline constexpr Color kFilter{64, 200, 232};
inline constexpr Color kPitch{156, 228, 72};
inline constexpr Color kRing{176, 120, 255};
inline constexpr Color kDistortion{242, 66, 54};
inline constexpr Color kTone{240, 204, 72};
inline constexpr Color kOutput{226, 232, 240};

} // namespace Korvatune::Artwork::Palette
