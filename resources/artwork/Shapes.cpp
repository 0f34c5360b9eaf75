#include "resources/artwork/Shapes.h"

#include "maths/FastMath.h"

#include <numbers>

namespace Korvatune::Artwork {

namespace {

// The sine of the angle from u to v, times their lengths: positive when v lies less than half a
// turn clockwise of u.
double turn(double ux, double uy, double vx, double vy) {
    return ux * vy - uy * vx;
}

// Exactly on a ray, to within the rounding of its direction: the sweep's ends belong to it.
bool onRay(double ux, double uy, double dx, double dy) {
    constexpr double kRounding = 1e-12;
    return std::abs(turn(ux, uy, dx, dy)) <= kRounding * (std::abs(dx) + std::abs(dy)) &&
           ux * dx + uy * dy > 0;
}

bool farFromRay(double ux, double uy, double dx, double dy) {
    return ux * dx + uy * dy <= 0 || std::abs(turn(ux, uy, dx, dy)) > kSampleReach;
}

} // namespace

RingSector::RingSector(double cx, double cy, double inner, double outer, double fromAngle,
                       double toAngle)
    : cx_(cx), cy_(cy), inner_(inner), outer_(outer), span_(toAngle - fromAngle) {
    const FastMath::SineCosine from = FastMath::sinCos(fromAngle);
    const FastMath::SineCosine to = FastMath::sinCos(toAngle);
    from_ = {from.sine, -from.cosine};
    to_ = {to.sine, -to.cosine};
}

bool RingSector::withinSweep(double dx, double dy) const {
    if (onRay(from_.x, from_.y, dx, dy) || onRay(to_.x, to_.y, dx, dy)) {
        return true;
    }
    if (span_ <= 0) {
        return false;
    }
    if (span_ <= std::numbers::pi) {
        return turn(from_.x, from_.y, dx, dy) > 0 && turn(dx, dy, to_.x, to_.y) > 0;
    }
    // Wider than half a turn: inside unless strictly within the gap from the end round to the
    // start.
    return !(turn(to_.x, to_.y, dx, dy) > 0 && turn(dx, dy, from_.x, from_.y) > 0);
}

bool RingSector::contains(double x, double y) const {
    const double dx = x - cx_;
    const double dy = y - cy_;
    const double distance = distanceBetween(dx, dy);
    return distance >= inner_ && distance <= outer_ && withinSweep(dx, dy);
}

PixelCover RingSector::cover(double x, double y) const {
    const double dx = x - cx_;
    const double dy = y - cy_;
    const double distance = distanceBetween(dx, dy);
    if (distance < inner_ - kSampleReach || distance > outer_ + kSampleReach) {
        return PixelCover::None;
    }
    // Away from the centre and from both rays, every sample lies on the same side of each ray.
    const bool sweepIsUniform = distance > 2 * kSampleReach &&
                                farFromRay(from_.x, from_.y, dx, dy) &&
                                farFromRay(to_.x, to_.y, dx, dy);
    if (!sweepIsUniform) {
        return PixelCover::Partial;
    }
    if (!withinSweep(dx, dy)) {
        return PixelCover::None;
    }
    const bool wholeWidth = distance >= inner_ + kSampleReach && distance <= outer_ - kSampleReach;
    return wholeWidth ? PixelCover::Full : PixelCover::Partial;
}

} // namespace Korvatune::Artwork
