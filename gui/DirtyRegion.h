#pragma once

#include "gui/Geometry.h"

#include <vector>

namespace Korvatune::Gui {

// The areas that need redrawing, kept as a few rectangles that do not overlap.
class DirtyRegion {
public:
    // Past this many rectangles they collapse into their bounding box.
    static constexpr std::size_t kMaxAreas = 32;

    void add(Rect area);
    bool isEmpty() const { return areas_.empty(); }
    const std::vector<Rect>& areas() const { return areas_; }
    // Hands the areas over and leaves the region empty.
    std::vector<Rect> take();

private:
    std::vector<Rect> areas_;
};

} // namespace Korvatune::Gui
