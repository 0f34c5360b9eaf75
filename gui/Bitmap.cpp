#include "gui/Bitmap.h"

#include <algorithm>

namespace Korvatune::Gui {

Bitmap::Bitmap(int width, int height, Color fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill) {
    if (pixels_.empty()) {
        width_ = 0;
        height_ = 0;
    }
}

} // namespace Korvatune::Gui
