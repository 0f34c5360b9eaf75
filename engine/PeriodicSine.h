#pragma once

#include "maths/FastMath.h"

namespace Korvatune {

// Single-precision sine of an argument that may grow without bound (time-based phases). The
// argument is reduced to one period in double precision first, so a long-running counter keeps
// the fraction that a float argument would lose.
inline float periodicSine(double argument) {
    const double reduced = FastMath::fmodTwoPi(argument);
    return FastMath::sin(static_cast<float>(reduced));
}

} // namespace Korvatune
