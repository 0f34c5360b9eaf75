#pragma once

#include "gui/Bitmap.h"
#include "gui/Color.h"
#include "gui/Geometry.h"

#include <algorithm>
#include <string_view>

namespace Korvatune::Artwork {

using Gui::Bitmap;
using Gui::Color;
using Gui::Point;
using Gui::Rect;

// Anti-aliased painting on top of a bitmap: shapes are given as membership tests in pixel
// coordinates (a pixel's centre lies at x + 0.5) and sampled on a 4 x 4 grid per pixel.
inline constexpr int kSamplesPerAxis = 4;

void blendCoverage(Bitmap& target, int x, int y, Color color, double coverage);

// shade(x, y) gives the colour of the pixel; inside(x, y) says whether a sample point belongs to
// the shape.
template <typename Shade, typename Inside>
void paintShape(Bitmap& target, Rect area, Shade shade, Inside inside) {
    const Rect visible = area.intersection(target.bounds());
    for (int y = visible.top; y < visible.bottom; ++y) {
        for (int x = visible.left; x < visible.right; ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSamplesPerAxis; ++sy) {
                for (int sx = 0; sx < kSamplesPerAxis; ++sx) {
                    hits +=
                        inside(x + (sx + 0.5) / kSamplesPerAxis, y + (sy + 0.5) / kSamplesPerAxis);
                }
            }
            if (hits > 0) {
                blendCoverage(target, x, y, shade(x, y),
                              hits / double(kSamplesPerAxis * kSamplesPerAxis));
            }
        }
    }
}

template <typename Inside> void fillShape(Bitmap& target, Rect area, Color color, Inside inside) {
    paintShape(
        target, area, [color](int, int) { return color; }, inside);
}

void fillArea(Bitmap& target, Rect area, Color color);

Color mix(Color from, Color to, double amount);
Color withAlpha(Color color, std::uint8_t alpha);

// Angles are in radians, clockwise from twelve o'clock.
void fillCircle(Bitmap& target, double cx, double cy, double radius, Color color);
void strokeArc(Bitmap& target, double cx, double cy, double radius, double width, double fromAngle,
               double toAngle, Color color);
// A line with round ends.
void strokeLine(Bitmap& target, double x0, double y0, double x1, double y1, double width,
                Color color);
void fillRoundedRect(Bitmap& target, Rect area, double radius, Color color);
void fillVerticalGradient(Bitmap& target, Rect area, Color top, Color bottom);

// The toolkit's 5 x 7 font, each font pixel drawn as a scale x scale block.
int scaledTextWidth(std::string_view text, int scale);
void drawText(Bitmap& target, std::string_view text, Point topLeft, int scale, Color color);
// Centred in both directions.
void drawTextCentred(Bitmap& target, std::string_view text, Rect box, int scale, Color color);

} // namespace Korvatune::Artwork
