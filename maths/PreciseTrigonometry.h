#pragma once

#include "maths/AngleReduction.h"
#include "maths/PreciseArithmetic.h"

#include <cmath>

// Sine, cosine and tangent to within an ulp of a double for every double, the same bits on
// every target: for filter designs, the table builds and the cosine curves of the distortion.
// The float forms round the double result once, so they are correctly rounded but where the
// exact value lies within a hair of halfway between two floats.
namespace Korvatune::PreciseMath {

struct SineCosine {
    double sine;
    double cosine;
};

namespace detail {

// Below this the sine is x and the cosine 1 to double precision.
inline constexpr double kTinyAngle = 7.450580596923828e-09; // 2^-27

// sin(r) for |r| <= pi/4 and a little beyond, as hi + lo: the Taylor series to r^17 (the next
// term is below 1e-19 of the result), with the remainder's low part through the derivative.
inline DoubleDouble sineOfRemainder(DoubleDouble r) {
    const double z = r.hi * r.hi;
    const double series =
        -1.0 / 6 +
        z * (1.0 / 120 + z * (-1.0 / 5040 +
                              z * (1.0 / 362880 + z * (-1.0 / 39916800 +
                                                       z * (1.0 / 6227020800 +
                                                            z * (-1.0 / 1307674368000 +
                                                                 z * (1.0 / 355687428096000)))))));
    return fastTwoSum(r.hi, r.hi * z * series + r.lo * (1.0 - 0.5 * z));
}

// cos(r) likewise, to r^18: 1 - r^2/2 is formed with its rounding error kept, since it
// carries most of the result.
inline DoubleDouble cosineOfRemainder(DoubleDouble r) {
    const DoubleDouble square = twoProduct(r.hi, r.hi);
    const double z = square.hi;
    const double half = 0.5 * z;
    const double leading = 1.0 - half;
    const double leadingError = (1.0 - leading) - half;
    const double series =
        1.0 / 24 +
        z * (-1.0 / 720 +
             z * (1.0 / 40320 +
                  z * (-1.0 / 3628800 +
                       z * (1.0 / 479001600 +
                            z * (-1.0 / 87178291200 +
                                 z * (1.0 / 20922789888000 + z * (-1.0 / 6402373705728000)))))));
    return fastTwoSum(leading, z * z * series + (leadingError - 0.5 * square.lo - r.hi * r.lo));
}

inline DoubleDouble negated(DoubleDouble x) {
    return {-x.hi, -x.lo};
}

// (n.hi + n.lo) / (d.hi + d.lo) to within about half an ulp.
inline double quotient(DoubleDouble n, DoubleDouble d) {
    const double q = n.hi / d.hi;
    const DoubleDouble back = twoProduct(q, d.hi);
    return q + (((n.hi - back.hi) - back.lo) + n.lo - q * d.lo) / d.hi;
}

// sin(quadrant * pi/2 + r).
inline DoubleDouble sineInQuadrant(int quadrant, DoubleDouble r) {
    const DoubleDouble value = (quadrant & 1) != 0 ? cosineOfRemainder(r) : sineOfRemainder(r);
    return (quadrant & 2) != 0 ? negated(value) : value;
}

} // namespace detail

inline SineCosine sinCos(double x) {
    if (std::fabs(x) < detail::kTinyAngle) {
        return {x, 1.0};
    }
    const ReducedAngle angle = reduceAngle(x);
    return {detail::sineInQuadrant(angle.quadrant, angle.remainder).hi,
            detail::sineInQuadrant(angle.quadrant + 1, angle.remainder).hi};
}

inline double sin(double x) {
    if (std::fabs(x) < detail::kTinyAngle) {
        return x;
    }
    const ReducedAngle angle = reduceAngle(x);
    return detail::sineInQuadrant(angle.quadrant, angle.remainder).hi;
}

inline double cos(double x) {
    if (std::fabs(x) < detail::kTinyAngle) {
        return 1.0;
    }
    const ReducedAngle angle = reduceAngle(x);
    return detail::sineInQuadrant(angle.quadrant + 1, angle.remainder).hi;
}

inline double tan(double x) {
    if (std::fabs(x) < detail::kTinyAngle) {
        return x;
    }
    const ReducedAngle angle = reduceAngle(x);
    return detail::quotient(detail::sineInQuadrant(angle.quadrant, angle.remainder),
                            detail::sineInQuadrant(angle.quadrant + 1, angle.remainder));
}

inline float sin(float x) {
    return static_cast<float>(sin(static_cast<double>(x)));
}

inline float cos(float x) {
    return static_cast<float>(cos(static_cast<double>(x)));
}

inline float tan(float x) {
    return static_cast<float>(tan(static_cast<double>(x)));
}

} // namespace Korvatune::PreciseMath
