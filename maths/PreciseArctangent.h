#pragma once

#include "maths/MathKernels.h"
#include "maths/PreciseArithmetic.h"

#include <cmath>

// The arctangent to within an ulp of a double for every double, the same bits on every target:
// for the band-pass design's reference frequency and the drive curve that bends through it.
namespace Korvatune::PreciseMath {

namespace detail {

// atan(k/8) for k = 0..8 as hi + lo.
inline constexpr DoubleDouble kArctangentSteps[9] = {{0.0, 0.0},
                                                     {0.12435499454676144, -3.1253241424539383e-18},
                                                     {0.24497866312686414, 1.0698755618734451e-17},
                                                     {0.35877067027057225, -2.4623815582638635e-17},
                                                     {0.4636476090008061, 2.2698777452961687e-17},
                                                     {0.5585993153435624, -5.4556305485916264e-18},
                                                     {0.6435011087932844, 1.5834785051444286e-17},
                                                     {0.7188299996216245, -2.1478388444456983e-17},
                                                     {0.7853981633974483, 3.061616997868383e-17}};

inline constexpr double kHalfPiHighPart = 1.5707963267948966;
inline constexpr double kHalfPiLowPart = 6.123233995736766e-17;
// Beyond this, pi/2 less the reciprocal rounds to pi/2.
inline constexpr double kFlatArgument = 1152921504606846976.0; // 2^60

// atan(t + tLow) for 0 <= t <= 1 (tLow a correction far below an ulp of t), as hi + lo:
// atan(c) + atan((t - c) / (1 + t c)) about the nearest c = k/8, where the second term's
// argument is at most 1/16 and its Taylor series to u^15 is good to 1e-19.
inline DoubleDouble arctangentUnit(double t, double tLow) {
    const double step = FastMath::detail::roundToInteger(8.0 * t);
    const double c = step * 0.125;
    const DoubleDouble product = twoProduct(t, c);
    const DoubleDouble denominator = twoSum(1.0, product.hi);
    // t - c is exact: t lies within 1/16 of c, so within a factor 2 of it (or c is 0).
    const double numerator = t - c;
    const double u = numerator / denominator.hi;
    const DoubleDouble back = twoProduct(u, denominator.hi);
    const double uLow =
        (((numerator - back.hi) - back.lo) - u * (denominator.lo + product.lo)) / denominator.hi +
        tLow / (1.0 + t * t);
    const double z = u * u;
    const double series =
        -1.0 / 3 +
        z * (1.0 / 5 +
             z * (-1.0 / 7 + z * (1.0 / 9 + z * (-1.0 / 11 + z * (1.0 / 13 + z * (-1.0 / 15))))));
    const DoubleDouble& base = kArctangentSteps[static_cast<int>(step)];
    const DoubleDouble sum = twoSum(base.hi, u);
    return fastTwoSum(sum.hi, sum.lo + (base.lo + uLow + u * (z * series)));
}

} // namespace detail

inline double atan(double x) {
    const double t = std::fabs(x);
    if (t <= 1.0) {
        return std::copysign(detail::arctangentUnit(t, 0.0).hi, x);
    }
    if (std::isnan(x)) {
        return x;
    }
    if (t > detail::kFlatArgument) {
        return std::copysign(detail::kHalfPiHighPart, x);
    }
    // pi/2 less the arctangent of the reciprocal, whose rounding is carried along.
    const double reciprocal = 1.0 / t;
    const DoubleDouble back = twoProduct(reciprocal, t);
    const double reciprocalLow = ((1.0 - back.hi) - back.lo) / t;
    const DoubleDouble inner = detail::arctangentUnit(reciprocal, reciprocalLow);
    const DoubleDouble difference = twoSum(detail::kHalfPiHighPart, -inner.hi);
    return std::copysign(difference.hi + ((difference.lo + detail::kHalfPiLowPart) - inner.lo), x);
}

} // namespace Korvatune::PreciseMath
