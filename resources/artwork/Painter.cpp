#include "resources/artwork/Painter.h"

#include "gui/BitmapFont.h"
#include "gui/ScaledText.h"

#include <algorithm>
#include <cmath>

namespace Korvatune::Artwork {

namespace {

std::uint8_t channel(double value) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0l, 255l));
}

Rect boundsAround(double cx, double cy, double reach) {
    return {static_cast<int>(std::floor(cx - reach)), static_cast<int>(std::floor(cy - reach)),
            static_cast<int>(std::ceil(cx + reach)) + 1,
            static_cast<int>(std::ceil(cy + reach)) + 1};
}

} // namespace

void blendCoverage(Bitmap& target, int x, int y, Color color, double coverage) {
    color.alpha = channel(color.alpha * coverage);
    target.setPixel(x, y, Gui::blendOver(target.pixel(x, y), color));
}

void fillArea(Bitmap& target, Rect area, Color color) {
    fillShape(target, area, color, Everywhere{});
}

Color mix(Color from, Color to, double amount) {
    auto blend = [amount](std::uint8_t a, std::uint8_t b) { return channel(a + (b - a) * amount); };
    return {blend(from.red, to.red), blend(from.green, to.green), blend(from.blue, to.blue),
            blend(from.alpha, to.alpha)};
}

Color withAlpha(Color color, std::uint8_t alpha) {
    color.alpha = alpha;
    return color;
}

void fillCircle(Bitmap& target, double cx, double cy, double radius, Color color) {
    fillShape(target, boundsAround(cx, cy, radius), color, Disc{cx, cy, radius});
}

void strokeArc(Bitmap& target, double cx, double cy, double radius, double width, double fromAngle,
               double toAngle, Color color) {
    const double inner = radius - width / 2;
    const double outer = radius + width / 2;
    fillShape(target, boundsAround(cx, cy, outer), color,
              RingSector(cx, cy, inner, outer, fromAngle, toAngle));
}

void strokeLine(Bitmap& target, double x0, double y0, double x1, double y1, double width,
                Color color) {
    const double half = width / 2;
    const Rect area{static_cast<int>(std::floor(std::min(x0, x1) - half)),
                    static_cast<int>(std::floor(std::min(y0, y1) - half)),
                    static_cast<int>(std::ceil(std::max(x0, x1) + half)) + 1,
                    static_cast<int>(std::ceil(std::max(y0, y1) + half)) + 1};
    fillShape(target, area, color, Capsule{x0, y0, x1, y1, half});
}

void fillRoundedRect(Bitmap& target, Rect area, double radius, Color color) {
    fillShape(target, area, color,
              RoundedBox{static_cast<double>(area.left), static_cast<double>(area.top),
                         static_cast<double>(area.right), static_cast<double>(area.bottom),
                         radius});
}

// One colour per row, so a row is mixed once rather than once per pixel.
void fillVerticalGradient(Bitmap& target, Rect area, Color top, Color bottom) {
    const double span = std::max(area.height() - 1, 1);
    const Rect visible = area.intersection(target.bounds());
    for (int y = visible.top; y < visible.bottom; ++y) {
        const Color row = mix(top, bottom, (y - area.top) / span);
        Color* pixel = target.data() + static_cast<std::ptrdiff_t>(y) * target.width();
        for (int x = visible.left; x < visible.right; ++x) {
            pixel[x] = Gui::blendOver(pixel[x], row);
        }
    }
}

void drawText(Bitmap& target, std::string_view text, Point topLeft, Scale scale, Color color) {
    const Rect bounds = target.bounds();
    Gui::forEachTextPixel(text, scale, [&](int x, int y) {
        const Point pixel = topLeft + Point{x, y};
        if (bounds.contains(pixel)) {
            target.setPixel(pixel.x, pixel.y,
                            Gui::blendOver(target.pixel(pixel.x, pixel.y), color));
        }
    });
}

void drawTextCentred(Bitmap& target, std::string_view text, Rect box, int size, Scale scale,
                     Color color) {
    const Point topLeft{
        box.left + Gui::centredOffset(box.width(), Gui::textWidth(text) * size, scale),
        box.top + Gui::centredOffset(box.height(), Gui::kGlyphHeight * size, scale)};
    drawText(target, text, topLeft, scale.times(size), color);
}

} // namespace Korvatune::Artwork
