#pragma once

#include "gui/Geometry.h"

#include <algorithm>
#include <array>

namespace Korvatune::Gui {

// How large a window is drawn relative to its design, in percent. Design pixels become device
// pixels by rounding to the nearest (halves up), in integers, so every platform places every
// pixel alike.
class Scale {
public:
    constexpr Scale() = default;
    constexpr explicit Scale(int percent) : percent_(std::max(percent, 1)) {}

    constexpr int percent() const { return percent_; }
    constexpr double factor() const { return percent_ / 100.0; }

    // A design coordinate or length in device pixels.
    constexpr int pixels(int design) const { return floorDivide(design * percent_ + 50, 100); }
    // Position and size are rounded apart, so equal designs keep equal sizes wherever they lie.
    constexpr Rect rect(Rect design) const {
        return Rect::fromSize({pixels(design.left), pixels(design.top)}, pixels(design.width()),
                              pixels(design.height()));
    }
    constexpr Point point(Point design) const { return {pixels(design.x), pixels(design.y)}; }
    // A device length back in design pixels, for lengths that came from pixels().
    constexpr int designPixels(int device) const {
        return floorDivide(device * 100 + percent_ / 2, percent_);
    }
    // The width of a line drawn one design pixel wide; halves round down, which keeps text and
    // lines nearer the design's weight than rounding up does.
    constexpr int stroke() const { return std::max(1, (percent_ + 49) / 100); }
    // This scale applied to something already drawn larger by a whole factor.
    constexpr Scale times(int factor) const { return Scale(percent_ * factor); }

    friend constexpr bool operator==(Scale, Scale) = default;

private:
    static constexpr int floorDivide(int numerator, int denominator) {
        const int quotient = numerator / denominator;
        return numerator % denominator < 0 ? quotient - 1 : quotient;
    }

    int percent_ = 100;
};

// The sizes the editor offers, smallest first.
inline constexpr std::array<int, 7> kOfferedScalePercents{100, 125, 150, 175, 200, 250, 300};

// The offered size nearest to a wanted one; halfway between two, the larger.
constexpr Scale nearestOfferedScale(double percent) {
    int best = kOfferedScalePercents.front();
    for (const int offered : kOfferedScalePercents) {
        const double distance = percent > offered ? percent - offered : offered - percent;
        const double bestDistance = percent > best ? percent - best : best - percent;
        if (distance <= bestDistance) {
            best = offered;
        }
    }
    return Scale(best);
}

} // namespace Korvatune::Gui
