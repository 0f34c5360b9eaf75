#pragma once

#include <cmath>
#include <numbers>

namespace Korvatune {

// Single-precision sine of an argument that may grow without bound (time-based phases). The
// argument is reduced to one period in double precision first, so a long-running counter keeps
// the fraction that a float argument would lose.
inline float periodicSine(double argument) {
    const double reduced = std::fmod(argument, 2.0 * std::numbers::pi);
    return std::sin(static_cast<float>(reduced));
}

} // namespace Korvatune
