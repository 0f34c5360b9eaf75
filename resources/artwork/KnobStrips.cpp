#include "resources/artwork/KnobStrips.h"

#include "maths/FastMath.h"
#include "resources/artwork/Painter.h"
#include "resources/artwork/Palette.h"

#include <algorithm>
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

// Lengths below are design pixels times `grow`, the frame's device size over its design size.
void drawBody(Bitmap& frame, double centre, double radius, double grow) {
    fillCircle(frame, centre, centre + grow, radius + grow, Color{0, 0, 0, 150});
    fillCircle(frame, centre, centre, radius, Palette::kPanelEdge);
    const double lightX = centre - radius * 0.45;
    const double lightY = centre - radius * 0.55;
    paintShape(
        frame, frame.bounds(),
        [=](int x, int y) {
            const double distance = distanceBetween(x + 0.5 - lightX, y + 0.5 - lightY);
            return mix(kBodyLight, kBodyDark, std::min(distance / (radius * 1.6), 1.0));
        },
        Disc{centre, centre, radius - 0.8 * grow});
}

void drawValueArc(Bitmap& frame, const KnobStyle& style, double value, double centre, double radius,
                  double width) {
    strokeArc(frame, centre, centre, radius, width, kSweepStart, kSweepEnd, kTrack);
    const double from = style.centred ? std::min(0.0, angleOf(value)) : kSweepStart;
    const double to = style.centred ? std::max(0.0, angleOf(value)) : angleOf(value);
    strokeArc(frame, centre, centre, radius, width, from, to, style.accent);
    const FastMath::SineCosine direction = FastMath::sinCos(angleOf(value));
    const double tipX = centre + radius * direction.sine;
    const double tipY = centre - radius * direction.cosine;
    fillCircle(frame, tipX, tipY, width * 0.75, mix(style.accent, kPointer, 0.5));
}

void drawPointer(Bitmap& frame, double centre, double bodyRadius, double value, double width) {
    const FastMath::SineCosine direction = FastMath::sinCos(angleOf(value));
    const double dx = direction.sine;
    const double dy = -direction.cosine;
    strokeLine(frame, centre + dx * bodyRadius * 0.3, centre + dy * bodyRadius * 0.3,
               centre + dx * bodyRadius * 0.85, centre + dy * bodyRadius * 0.85, width, kPointer);
}

} // namespace

Bitmap drawKnobFrame(const KnobStyle& style, Scale scale, int frameIndex) {
    const int size = scale.pixels(style.size);
    Bitmap frame(size, size);
    const double value = frameIndex / double(kKnobFrames - 1);
    const double grow = size / double(style.size);
    const bool large = style.size > 30;
    const double centre = size / 2.0;
    const double arcWidth = (large ? 2.6 : 2.0) * grow;
    const double arcRadius = centre - arcWidth / 2 - 0.6 * grow;
    const double bodyRadius = arcRadius - arcWidth / 2 - (large ? 2.4 : 1.6) * grow;
    drawValueArc(frame, style, value, centre, arcRadius, arcWidth);
    drawBody(frame, centre, bodyRadius, grow);
    drawPointer(frame, centre, bodyRadius, value, (large ? 2.2 : 1.7) * grow);
    return frame;
}

} // namespace Korvatune::Artwork
