#pragma once

#include "gui/Bitmap.h"
#include "gui/Color.h"
#include "gui/Geometry.h"
#include "gui/Scale.h"
#include "resources/artwork/Shapes.h"

#include <string_view>

namespace Korvatune::Artwork {

using Gui::Bitmap;
using Gui::Color;
using Gui::Point;
using Gui::Rect;
using Gui::Scale;

// Anti-aliased painting on top of a bitmap, in device pixels: a shape (Shapes.h) is sampled on
// a 4 x 4 grid in each pixel it covers only partly; pixels it covers wholly or not at all are
// painted or skipped without sampling. The module draws these at run time on every platform,
// so everything here is plain arithmetic and square roots, which IEEE 754 rounds alike
// everywhere; the angles come from the maths kernels, never from the C runtime.
inline constexpr int kSamplesPerAxis = 4;

void blendCoverage(Bitmap& target, int x, int y, Color color, double coverage);

// shade(x, y) gives the colour of the pixel.
template <typename Shade, typename Shape>
void paintShape(Bitmap& target, Rect area, Shade shade, const Shape& shape) {
    constexpr int kSamples = kSamplesPerAxis * kSamplesPerAxis;
    const Rect visible = area.intersection(target.bounds());
    for (int y = visible.top; y < visible.bottom; ++y) {
        for (int x = visible.left; x < visible.right; ++x) {
            const PixelCover cover = shape.cover(x + 0.5, y + 0.5);
            if (cover == PixelCover::None) {
                continue;
            }
            if (cover == PixelCover::Full) {
                target.setPixel(x, y, Gui::blendOver(target.pixel(x, y), shade(x, y)));
                continue;
            }
            int hits = 0;
            for (int sy = 0; sy < kSamplesPerAxis; ++sy) {
                for (int sx = 0; sx < kSamplesPerAxis; ++sx) {
                    hits += shape.contains(x + (sx + 0.5) / kSamplesPerAxis,
                                           y + (sy + 0.5) / kSamplesPerAxis);
                }
            }
            if (hits > 0) {
                blendCoverage(target, x, y, shade(x, y), hits / double(kSamples));
            }
        }
    }
}

template <typename Shape>
void fillShape(Bitmap& target, Rect area, Color color, const Shape& shape) {
    paintShape(
        target, area, [color](int, int) { return color; }, shape);
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

// The toolkit's pixel font at a scale (Gui::ScaledText), from a device top-left corner.
void drawText(Bitmap& target, std::string_view text, Point topLeft, Scale scale, Color color);
// Centred in both directions as at 100 %, each font pixel `size` design pixels large.
void drawTextCentred(Bitmap& target, std::string_view text, Rect box, int size, Scale scale,
                     Color color);

} // namespace Korvatune::Artwork
