#pragma once

#include <cmath>

namespace Korvatune::Artwork {

// How a pixel lies against a shape: all its samples inside, none, or some.
enum class PixelCover { None, Full, Partial };

// The shapes the painter fills. contains(x, y) says whether a sample point belongs to the shape;
// cover(x, y) says, for the pixel centred at (x, y), whether every sample of it does or none
// does, and answers Partial when that is not certain, so that skipping the samples never
// changes a pixel.

// Samples lie at most this far from their pixel's centre (3/8 of a pixel along each axis), plus
// room for rounding.
inline constexpr double kSampleReach = 0.54;

inline double squaredDistance(double dx, double dy) {
    return dx * dx + dy * dy;
}

inline double distanceBetween(double dx, double dy) {
    return std::sqrt(squaredDistance(dx, dy));
}

inline double clampBetween(double value, double low, double high) {
    return value < low ? low : (value > high ? high : value);
}

// Within `reach` of something whose distance from the pixel's centre is the square root of
// `squared`; squares spare the root, which the margin makes safe.
inline PixelCover coverWithin(double squared, double reach) {
    const double inner = reach - kSampleReach;
    if (inner >= 0 && squared <= inner * inner) {
        return PixelCover::Full;
    }
    const double outer = reach + kSampleReach;
    return squared > outer * outer ? PixelCover::None : PixelCover::Partial;
}

struct Everywhere {
    bool contains(double, double) const { return true; }
    PixelCover cover(double, double) const { return PixelCover::Full; }
};

struct Disc {
    double cx;
    double cy;
    double radius;

    bool contains(double x, double y) const {
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    }
    PixelCover cover(double x, double y) const {
        return coverWithin(squaredDistance(x - cx, y - cy), radius);
    }
};

// A rectangle with corners rounded by `radius`.
struct RoundedBox {
    double left;
    double top;
    double right;
    double bottom;
    double radius;

    double squaredDistanceFromCore(double x, double y) const {
        const double nearestX = clampBetween(x, left + radius, right - radius);
        const double nearestY = clampBetween(y, top + radius, bottom - radius);
        return squaredDistance(x - nearestX, y - nearestY);
    }
    bool contains(double x, double y) const {
        return std::sqrt(squaredDistanceFromCore(x, y)) <= radius;
    }
    PixelCover cover(double x, double y) const {
        return coverWithin(squaredDistanceFromCore(x, y), radius);
    }
};

// A line from (x0, y0) to (x1, y1) with round ends.
struct Capsule {
    double x0;
    double y0;
    double x1;
    double y1;
    double halfWidth;

    double squaredDistanceFromAxis(double x, double y) const {
        const double dx = x1 - x0;
        const double dy = y1 - y0;
        const double lengthSquared = dx * dx + dy * dy > 1e-12 ? dx * dx + dy * dy : 1e-12;
        const double t = clampBetween(((x - x0) * dx + (y - y0) * dy) / lengthSquared, 0.0, 1.0);
        return squaredDistance(x - (x0 + t * dx), y - (y0 + t * dy));
    }
    bool contains(double x, double y) const {
        return std::sqrt(squaredDistanceFromAxis(x, y)) <= halfWidth;
    }
    PixelCover cover(double x, double y) const {
        return coverWithin(squaredDistanceFromAxis(x, y), halfWidth);
    }
};

// The part of a ring between two angles (radians clockwise from twelve o'clock, each in
// [-pi, pi]); points exactly on a bounding ray belong to it.
class RingSector {
public:
    RingSector(double cx, double cy, double inner, double outer, double fromAngle, double toAngle);

    bool contains(double x, double y) const;
    PixelCover cover(double x, double y) const;

private:
    struct Direction {
        double x;
        double y;
    };

    bool withinSweep(double dx, double dy) const;

    double cx_;
    double cy_;
    double inner_;
    double outer_;
    double span_;
    Direction from_;
    Direction to_;
};

// A shape known only by its membership test, so every pixel of it is sampled.
template <typename Inside> struct SampledShape {
    Inside inside;

    bool contains(double x, double y) const { return inside(x, y); }
    PixelCover cover(double, double) const { return PixelCover::Partial; }
};

template <typename Inside> SampledShape<Inside> sampledShape(Inside inside) {
    return {inside};
}

} // namespace Korvatune::Artwork
