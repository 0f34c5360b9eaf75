#include "tools/artwork/Painter.h"

#include "gui/BitmapFont.h"

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

// Angle of (dx, dy) from twelve o'clock, clockwise, in (-pi, pi].
double clockAngle(double dx, double dy) {
    return std::atan2(dx, -dy);
}

} // namespace

void blendCoverage(Bitmap& target, int x, int y, Color color, double coverage) {
    color.alpha = channel(color.alpha * coverage);
    target.setPixel(x, y, Gui::blendOver(target.pixel(x, y), color));
}

void fillArea(Bitmap& target, Rect area, Color color) {
    fillShape(target, area, color, [](double, double) { return true; });
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
    fillShape(target, boundsAround(cx, cy, radius), color, [=](double x, double y) {
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    });
}

void strokeArc(Bitmap& target, double cx, double cy, double radius, double width, double fromAngle,
               double toAngle, Color color) {
    const double inner = radius - width / 2;
    const double outer = radius + width / 2;
    fillShape(target, boundsAround(cx, cy, outer), color, [=](double x, double y) {
        const double distance = std::hypot(x - cx, y - cy);
        const double angle = clockAngle(x - cx, y - cy);
        return distance >= inner && distance <= outer && angle >= fromAngle && angle <= toAngle;
    });
}

void strokeLine(Bitmap& target, double x0, double y0, double x1, double y1, double width,
                Color color) {
    const double half = width / 2;
    const Rect area{static_cast<int>(std::floor(std::min(x0, x1) - half)),
                    static_cast<int>(std::floor(std::min(y0, y1) - half)),
                    static_cast<int>(std::ceil(std::max(x0, x1) + half)) + 1,
                    static_cast<int>(std::ceil(std::max(y0, y1) + half)) + 1};
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double lengthSquared = std::max(dx * dx + dy * dy, 1e-12);
    fillShape(target, area, color, [=](double x, double y) {
        const double t = std::clamp(((x - x0) * dx + (y - y0) * dy) / lengthSquared, 0.0, 1.0);
        return std::hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= half;
    });
}

void fillRoundedRect(Bitmap& target, Rect area, double radius, Color color) {
    fillShape(target, area, color, [=](double x, double y) {
        const double nearestX = std::clamp(x, area.left + radius, area.right - radius);
        const double nearestY = std::clamp(y, area.top + radius, area.bottom - radius);
        return std::hypot(x - nearestX, y - nearestY) <= radius;
    });
}

void fillVerticalGradient(Bitmap& target, Rect area, Color top, Color bottom) {
    const double span = std::max(area.height() - 1, 1);
    paintShape(
        target, area, [=](int, int y) { return mix(top, bottom, (y - area.top) / span); },
        [](double, double) { return true; });
}

int scaledTextWidth(std::string_view text, int scale) {
    return Gui::textWidth(text) * scale;
}

void drawText(Bitmap& target, std::string_view text, Point topLeft, int scale, Color color) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int glyphLeft = topLeft.x + static_cast<int>(i) * Gui::kCellWidth * scale;
        for (int row = 0; row < Gui::kGlyphHeight; ++row) {
            for (int column = 0; column < Gui::kGlyphWidth; ++column) {
                if (!Gui::glyphHasPixel(text[i], column, row)) {
                    continue;
                }
                const Rect block = Rect::fromSize(
                    {glyphLeft + column * scale, topLeft.y + row * scale}, scale, scale);
                fillArea(target, block, color);
            }
        }
    }
}

void drawTextCentred(Bitmap& target, std::string_view text, Rect box, int scale, Color color) {
    const Point topLeft{box.left + (box.width() - scaledTextWidth(text, scale)) / 2,
                        box.top + (box.height() - Gui::kGlyphHeight * scale) / 2};
    drawText(target, text, topLeft, scale, color);
}

} // namespace Korvatune::Artwork
