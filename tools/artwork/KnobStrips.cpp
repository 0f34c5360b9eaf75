#include "tools/artwork/KnobStrips.h"

#include "tools/artwork/Painter.h"
#include "tools/artwork/Palette.h"

#include <cmath>
#include <numbers>

namespace Korvatune::Artwork {

namespace {

// The pointer sweeps 270 degrees, leaving the gap at the bottom.
constexpr double kSweepStart = -0.75 * std::numbers::pi;
constexpr double kSweepEnd = 0.75 * std::numbers::pi;

constexpr Color kTrack{50, 53, 61};
constexpr Color kBodyLight{84, 88, 99};
constexpr Color kBodyDark{28, 30, 35};
constexpr Color kPointer{244, 246, 250};

double angleOf(double value) {
    return kSweepStart + (kSweepEnd - kSweepStart) * value;
}

void drawBody(Bitmap& frame, double centre, double radius) {
    fillCircle(frame, centre, centre + 1, radius + 1, Color{0, 0, 0, 150});
    fillCircle(frame, centre, centre, radius, Palette::kPanelEdge);
    const double lightX = centre - radius * 0.45;
    const double lightY = centre - radius * 0.55;
    paintShape(
        frame, frame.bounds(),
        [=](int x, int y) {
            const double distance = std::hypot(x + 0.5 - lightX, y + 0.5 - lightY);
            return mix(kBodyLight, kBodyDark, std::min(distance / (radius * 1.6), 1.0));
        },
        [=](double x, double y) { return std::hypot(x - centre, y - centre) <= radius - 0.8; });
}

void drawValueArc(Bitmap& frame, const KnobStyle& style, double value, double radius,
                  double width) {
    const double centre = style.size / 2.0;
    strokeArc(frame, centre, centre, radius, width, kSweepStart, kSweepEnd, kTrack);
    const double from = style.centred ? std::min(0.0, angleOf(value)) : kSweepStart;
    const double to = style.centred ? std::max(0.0, angleOf(value)) : angleOf(value);
    strokeArc(frame, centre, centre, radius, width, from, to, style.accent);
    const double tipX = centre + radius * std::sin(angleOf(value));
    const double tipY = centre - radius * std::cos(angleOf(value));
    fillCircle(frame, tipX, tipY, width * 0.75, mix(style.accent, kPointer, 0.5));
}

void drawPointer(Bitmap& frame, double centre, double bodyRadius, double value, double width) {
    const double dx = std::sin(angleOf(value));
    const double dy = -std::cos(angleOf(value));
    strokeLine(frame, centre + dx * bodyRadius * 0.3, centre + dy * bodyRadius * 0.3,
               centre + dx * bodyRadius * 0.85, centre + dy * bodyRadius * 0.85, width, kPointer);
}

Bitmap drawKnobFrame(const KnobStyle& style, double value) {
    Bitmap frame(style.size, style.size);
    const bool large = style.size > 30;
    const double centre = style.size / 2.0;
    const double arcWidth = large ? 2.6 : 2.0;
    const double arcRadius = centre - arcWidth / 2 - 0.6;
    const double bodyRadius = arcRadius - arcWidth / 2 - (large ? 2.4 : 1.6);
    drawValueArc(frame, style, value, arcRadius, arcWidth);
    drawBody(frame, centre, bodyRadius);
    drawPointer(frame, centre, bodyRadius, value, large ? 2.2 : 1.7);
    return frame;
}

} // namespace

Bitmap drawKnobStrip(const KnobStyle& style) {
    Bitmap strip(style.size * kKnobFrames, style.size);
    for (int k = 0; k < kKnobFrames; ++k) {
        const Bitmap frame = drawKnobFrame(style, k / double(kKnobFrames - 1));
        for (int y = 0; y < style.size; ++y) {
            for (int x = 0; x < style.size; ++x) {
                strip.setPixel(k * style.size + x, y, frame.pixel(x, y));
            }
        }
    }
    return strip;
}

} // namespace Korvatune::Artwork
