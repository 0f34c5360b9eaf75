#include "resources/artwork/KickMotif.h"

#include "maths/FastMath.h"
#include "resources/artwork/Painter.h"

#include <numbers>

namespace Korvatune::Artwork {

namespace {

constexpr double kStartCycles = 9.0;
constexpr double kEndCycles = 2.0;
constexpr double kSweepRate = 7.0;
constexpr double kDecayRate = 2.2;

// The maths kernels' exponential, good to 2e-12: far finer than a sample of the painting.
double exponential(double x) {
    return FastMath::detail::expKernel(x);
}

// Time runs from 0 to 1 across the box; the pitch falls exponentially from kStartCycles to
// kEndCycles cycles per box width.
double kickSample(double t) {
    const double phase = kEndCycles * t + (kStartCycles - kEndCycles) *
                                              (1 - exponential(-kSweepRate * t)) / kSweepRate;
    return exponential(-kDecayRate * t) * FastMath::sinCos(2 * std::numbers::pi * phase).sine;
}

} // namespace

void drawKickWave(Gui::Bitmap& target, Gui::Rect box, Gui::Color color, double lineWidth) {
    const double middle = (box.top + box.bottom) / 2.0;
    const double amplitude = box.height() / 2.0 - lineWidth;
    const int steps = box.width() * 2;
    double previousX = box.left;
    double previousY = middle;
    for (int i = 1; i <= steps; ++i) {
        const double t = i / double(steps);
        const double x = box.left + t * (box.width() - 1);
        const double y = middle - amplitude * kickSample(t);
        strokeLine(target, previousX, previousY, x, y, lineWidth, color);
        previousX = x;
        previousY = y;
    }
}

} // namespace Korvatune::Artwork
