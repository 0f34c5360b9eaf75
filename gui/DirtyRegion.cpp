#include "gui/DirtyRegion.h"

#include <algorithm>
#include <utility>

namespace Korvatune::Gui {

void DirtyRegion::add(Rect area) {
    if (area.isEmpty()) {
        return;
    }
    const auto covers = [&](const Rect& existing) { return existing.encloses(area); };
    if (std::any_of(areas_.begin(), areas_.end(), covers)) {
        return;
    }
    // Each merge can grow the area into further rectangles, so repeat until none overlaps.
    bool merged = true;
    while (merged) {
        merged = false;
        for (auto it = areas_.begin(); it != areas_.end(); ++it) {
            if (it->intersects(area)) {
                area = area.unionWith(*it);
                areas_.erase(it);
                merged = true;
                break;
            }
        }
    }
    areas_.push_back(area);
    if (areas_.size() > kMaxAreas) {
        Rect bounds;
        for (const Rect& each : areas_) {
            bounds = bounds.unionWith(each);
        }
        areas_.assign(1, bounds);
    }
}

std::vector<Rect> DirtyRegion::take() {
    return std::exchange(areas_, {});
}

} // namespace Korvatune::Gui
