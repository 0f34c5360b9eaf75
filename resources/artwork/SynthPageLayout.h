#pragma once

#include "gui/Color.h"
#include "gui/Geometry.h"

#include <string_view>
#include <vector>

namespace Korvatune::Artwork {

inline constexpr int kSynthPageWidth = 701;
inline constexpr int kSynthPageHeight = 371;

// Where the Synth page background puts its furniture; the controls themselves sit on top at the
// positions the editor gives them, and every rectangle here is fitted around those.
struct Heading {
    std::string_view text;
    int left;
    Gui::Color accent;
};

struct Section {
    Gui::Rect panel;
    std::vector<Heading> headings; // written into the panel's top edge
};

struct Label {
    std::string_view text;
    Gui::Rect box; // one line of text, centred in the box
};

std::vector<Section> synthPageSections();
std::vector<Label> synthPageLabels();
// The areas where the editor draws its curves; baselineFromBottom is where zero lies.
struct Screen {
    Gui::Rect area;
    int baselineFromBottom;
};
std::vector<Screen> synthPageScreens();
// Dark fields under the transparent value displays and text labels.
std::vector<Gui::Rect> synthPageReadouts();

} // namespace Korvatune::Artwork
