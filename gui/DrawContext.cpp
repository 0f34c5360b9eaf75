#include "gui/DrawContext.h"

#include "gui/BitmapFont.h"
#include "gui/ScaledText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace Korvatune::Gui {

namespace {

// The steps i in [0, steps] for which start + i * delta / steps stays within [low, high].
struct StepRange {
    std::int64_t first;
    std::int64_t last;
};

StepRange stepsWithin(std::int64_t start, std::int64_t delta, std::int64_t steps, double low,
                      double high) {
    if (delta == 0) {
        const bool inside = start >= low && start <= high;
        return inside ? StepRange{0, steps} : StepRange{1, 0};
    }
    const double perStep = static_cast<double>(delta) / static_cast<double>(steps);
    double a = (low - static_cast<double>(start)) / perStep;
    double b = (high - static_cast<double>(start)) / perStep;
    if (a > b) {
        std::swap(a, b);
    }
    const double first = std::max(std::floor(a) - 1.0, 0.0);
    const double last = std::min(std::ceil(b) + 1.0, static_cast<double>(steps));
    return {static_cast<std::int64_t>(first), static_cast<std::int64_t>(last)};
}

int interpolate(std::int64_t start, std::int64_t delta, std::int64_t step, std::int64_t steps) {
    const double exact =
        static_cast<double>(delta) * static_cast<double>(step) / static_cast<double>(steps);
    return static_cast<int>(start + static_cast<std::int64_t>(std::floor(exact + 0.5)));
}

} // namespace

DrawContext::DrawContext(Bitmap& target, Scale scale)
    : DrawContext(target, target.bounds(), scale) {}

DrawContext::DrawContext(Bitmap& target, Rect clip, Scale scale)
    : target_(target), clip_(clip.intersection(target.bounds())), scale_(scale) {}

void DrawContext::clipTo(Rect area) {
    clip_ = clip_.intersection(area.offsetBy(origin_));
}

void DrawContext::blendPixel(int deviceX, int deviceY, Color color) {
    if (!clip_.contains(Point{deviceX, deviceY})) {
        return;
    }
    target_.setPixel(deviceX, deviceY, blendOver(target_.pixel(deviceX, deviceY), color));
}

void DrawContext::blendPen(int deviceX, int deviceY, Color color) {
    const int width = scale_.stroke();
    for (int y = deviceY; y < deviceY + width; ++y) {
        for (int x = deviceX; x < deviceX + width; ++x) {
            blendPixel(x, y, color);
        }
    }
}

void DrawContext::fillSpan(int deviceY, int deviceLeft, int deviceRight, Color color) {
    for (int x = deviceLeft; x < deviceRight; ++x) {
        target_.setPixel(x, deviceY, blendOver(target_.pixel(x, deviceY), color));
    }
}

void DrawContext::fillRect(Rect area, Color color) {
    const Rect visible = area.offsetBy(origin_).intersection(clip_);
    for (int y = visible.top; y < visible.bottom; ++y) {
        fillSpan(y, visible.left, visible.right, color);
    }
}

// Row by row: rows crossing the inside are painted left and right of it only.
void DrawContext::frameRect(Rect area, Color color) {
    const int width = scale_.stroke();
    const Rect visible = area.offsetBy(origin_).intersection(clip_);
    const Rect inside =
        Rect{area.left + width, area.top + width, area.right - width, area.bottom - width}.offsetBy(
            origin_);
    for (int y = visible.top; y < visible.bottom; ++y) {
        if (inside.isEmpty() || y < inside.top || y >= inside.bottom) {
            fillSpan(y, visible.left, visible.right, color);
            continue;
        }
        fillSpan(y, visible.left, std::min(inside.left, visible.right), color);
        fillSpan(y, std::max(inside.right, visible.left), visible.right, color);
    }
}

void DrawContext::drawLine(Point from, Point to, Color color) {
    drawSegment(from, to, color, false);
}

void DrawContext::drawPolyline(std::span<const Point> points, Color color) {
    if (points.size() == 1) {
        drawSegment(points[0], points[0], color, false);
    }
    for (std::size_t i = 1; i < points.size(); ++i) {
        drawSegment(points[i - 1], points[i], color, i > 1);
    }
}

// Steps along the longer axis, rounding the other; only the steps that can reach the clip are
// walked, so far-away end points cost nothing.
void DrawContext::drawSegment(Point from, Point to, Color color, bool skipFirstPixel) {
    const std::int64_t x0 = std::int64_t{from.x} + origin_.x;
    const std::int64_t y0 = std::int64_t{from.y} + origin_.y;
    const std::int64_t dx = std::int64_t{to.x} - from.x;
    const std::int64_t dy = std::int64_t{to.y} - from.y;
    const std::int64_t steps = std::max(std::llabs(dx), std::llabs(dy));
    const int pen = scale_.stroke();
    if (steps == 0) {
        const bool visible =
            x0 > clip_.left - pen && x0 < clip_.right && y0 > clip_.top - pen && y0 < clip_.bottom;
        if (visible && !skipFirstPixel) {
            blendPen(static_cast<int>(x0), static_cast<int>(y0), color);
        }
        return;
    }
    const StepRange alongX = stepsWithin(x0, dx, steps, clip_.left - pen, clip_.right);
    const StepRange alongY = stepsWithin(y0, dy, steps, clip_.top - pen, clip_.bottom);
    const std::int64_t first =
        std::max({alongX.first, alongY.first, std::int64_t{skipFirstPixel ? 1 : 0}});
    const std::int64_t last = std::min(alongX.last, alongY.last);
    for (std::int64_t step = first; step <= last; ++step) {
        blendPen(interpolate(x0, dx, step, steps), interpolate(y0, dy, step, steps), color);
    }
}

void DrawContext::drawBitmap(const Bitmap& source, Rect destination, Point sourceTopLeft) {
    const Point shift = sourceTopLeft - destination.topLeft();
    const Rect sourceArea = source.bounds().offsetBy(Point{} - shift);
    const Rect visible = destination.intersection(sourceArea).offsetBy(origin_).intersection(clip_);
    const Point toSource = shift - origin_;
    // Row by row through pointers: large scales copy millions of pixels per frame.
    for (int y = visible.top; y < visible.bottom; ++y) {
        const Color* from = source.data() +
                            static_cast<std::ptrdiff_t>(y + toSource.y) * source.width() +
                            (visible.left + toSource.x);
        Color* to =
            target_.data() + static_cast<std::ptrdiff_t>(y) * target_.width() + visible.left;
        for (int x = visible.left; x < visible.right; ++x, ++from, ++to) {
            *to = from->alpha == 255 ? *from : blendOver(*to, *from);
        }
    }
}

void DrawContext::drawText(std::string_view text, Rect box, Color color, TextAlign align) {
    const State saved = state();
    clipTo(box);
    int left = box.left;
    if (align == TextAlign::Centre) {
        left += centredOffset(box.width(), textWidth(text), scale_);
    } else if (align == TextAlign::Right) {
        left = box.right - scaledTextWidth(text, scale_);
    }
    const Point topLeft =
        Point{left, box.top + centredOffset(box.height(), kGlyphHeight, scale_)} + origin_;
    forEachTextPixel(text, scale_,
                     [&](int x, int y) { blendPixel(topLeft.x + x, topLeft.y + y, color); });
    restore(saved);
}

} // namespace Korvatune::Gui
