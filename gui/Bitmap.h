#pragma once

#include "gui/Color.h"
#include "gui/Geometry.h"

#include <vector>

namespace Korvatune::Gui {

// An RGBA image in rows from the top; also serves as the frame buffer.
class Bitmap {
public:
    Bitmap() = default;
    Bitmap(int width, int height, Color fill = kTransparent);

    int width() const { return width_; }
    int height() const { return height_; }
    Rect bounds() const { return {0, 0, width_, height_}; }
    bool isEmpty() const { return pixels_.empty(); }

    // Callers keep (x, y) inside bounds().
    Color pixel(int x, int y) const { return pixels_[index(x, y)]; }
    void setPixel(int x, int y, Color color) { pixels_[index(x, y)] = color; }

    const Color* data() const { return pixels_.data(); }
    Color* data() { return pixels_.data(); }

private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<Color> pixels_;
};

} // namespace Korvatune::Gui
