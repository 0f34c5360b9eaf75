#pragma once

#include "maths/PreciseExponential.h"

#include <cmath>

// The hyperbolic functions of the Chebyshev prototype's pole radius, from the exponential and
// the logarithm: within a few ulps of a double, the same bits on every target.
namespace Korvatune::PreciseMath {

// For |x| up to 709.
inline double sinh(double x) {
    const double magnitude = std::fabs(x);
    if (magnitude < 1.0) {
        // The series, where e^x - e^-x would cancel; to x^19, good to 1e-17 of the result.
        const double z = x * x;
        const double series =
            1.0 / 6 +
            z * (1.0 / 120 +
                 z * (1.0 / 5040 +
                      z * (1.0 / 362880 + z * (1.0 / 39916800 +
                                               z * (1.0 / 6227020800 +
                                                    z * (1.0 / 1307674368000 +
                                                         z * (1.0 / 355687428096000 +
                                                              z * (1.0 / 121645100408832000))))))));
        return x + x * (z * series);
    }
    const double rising = exp(magnitude);
    return std::copysign(0.5 * (rising - 1.0 / rising), x);
}

// For |x| up to 709.
inline double cosh(double x) {
    const double rising = exp(std::fabs(x));
    return 0.5 * (rising + 1.0 / rising);
}

// For every double: log(1 + a) with a = |x| + x^2 / (1 + sqrt(1 + x^2)), which holds the small
// values whole, and the rounding of 1 + a carried into the logarithm.
inline double asinh(double x) {
    const double magnitude = std::fabs(x);
    if (!(magnitude < 268435456.0)) { // 2^28: sqrt(1 + x^2) is |x| to double precision
        return std::isnan(x) ? x : std::copysign(log(magnitude) + detail::kLn2, x);
    }
    const double square = magnitude * magnitude;
    const double a = magnitude + square / (1.0 + std::sqrt(1.0 + square));
    const double onePlus = 1.0 + a;
    const double correction = (a - (onePlus - 1.0)) / onePlus;
    return std::copysign(log(onePlus) + correction, x);
}

} // namespace Korvatune::PreciseMath
