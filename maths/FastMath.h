#pragma once

#include "maths/AngleReduction.h"
#include "maths/MathKernels.h"
#include "maths/PreciseTrigonometry.h"

#include <cmath>
#include <cstdint>
#include <limits>

// Single-precision transcendentals for the audio path. Each works in double internally, so
// that its result lies within one unit in the last place of the float it stands in for (the
// maths tests measure the worst error over the inputs the engine feeds them). Plain arithmetic
// only: the same source gives the same bits on every x86 target with SSE2 maths, and the lane
// forms run the same kernels (maths/MathKernels.h).
namespace Korvatune::FastMath {

// Sine and cosine of a double angle to within two units in the last place of a double, for
// filter designs rebuilt every sample while they glide; the precise kernels
// (maths/PreciseTrigonometry.h) carry extra bits at twice the cost.
using SineCosine = PreciseMath::SineCosine;

namespace detail {

// Taylor polynomials on |r| <= pi/4 carried to r^17 and r^18 (truncation below 1e-19), summed
// in pairs of powers (Estrin's scheme) for a short dependency chain.
inline double preciseSinPolynomial(double r) {
    const double s = r * r;
    const double s2 = s * s;
    const double s4 = s2 * s2;
    const double low =
        (-1.0 / 6.0 + s * (1.0 / 120.0)) + s2 * (-1.0 / 5040.0 + s * (1.0 / 362880.0));
    const double high = (-1.0 / 39916800.0 + s * (1.0 / 6227020800.0)) +
                        s2 * (-1.0 / 1307674368000.0 + s * (1.0 / 355687428096000.0));
    return r + r * (s * (low + s4 * high));
}

inline double preciseCosPolynomial(double r) {
    const double s = r * r;
    const double s2 = s * s;
    const double s4 = s2 * s2;
    const double low = (-0.5 + s * (1.0 / 24.0)) + s2 * (-1.0 / 720.0 + s * (1.0 / 40320.0));
    const double high = (-1.0 / 3628800.0 + s * (1.0 / 479001600.0)) +
                        s2 * (-1.0 / 87178291200.0 + s * (1.0 / 20922789888000.0));
    const double top = -1.0 / 6402373705728000.0;
    return 1.0 + s * (low + s4 * (high + s4 * top));
}

} // namespace detail

// For |x| < 2^20. pi/2 is taken away in three parts, so the remainder keeps double precision
// also where the sine or the cosine nears 0.
inline SineCosine sinCos(double x) {
    const detail::RoundedLanes<double> count = detail::roundWithInteger(x * detail::kTwoOverPi);
    const double r = ((x - count.value * PreciseMath::kHalfPiParts[0]) -
                      count.value * PreciseMath::kHalfPiParts[1]) -
                     count.value * PreciseMath::kHalfPiParts[2];
    const std::int64_t quadrant = count.integer;
    const double s = detail::preciseSinPolynomial(r);
    const double c = detail::preciseCosPolynomial(r);
    const SineCosine even = (quadrant & 1) != 0 ? SineCosine{c, -s} : SineCosine{s, c};
    return (quadrant & 2) != 0 ? SineCosine{-even.sine, -even.cosine} : even;
}

// sin(x) for |x| < 2^20; the engine feeds one period, 0..2pi.
inline float sin(float x) {
    return static_cast<float>(detail::sinKernel(static_cast<double>(x)));
}

// tan(x) for |x| < 2^20; the engine feeds prewarping angles in 0..pi/2.
inline float tan(float x) {
    return static_cast<float>(detail::tanKernel(static_cast<double>(x)));
}

// atan(x) for every float.
inline float atan(float x) {
    return static_cast<float>(detail::atanKernel(static_cast<double>(x)));
}

// e^x for every float.
inline float exp(float x) {
    if (!(x > -104.0f)) {
        return std::isnan(x) ? x : 0.0f;
    }
    if (x > 89.0f) {
        return std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(detail::expKernel(static_cast<double>(x)));
}

// base^exponent rounded to float, for base in 0..1 and exponent in 0..64 (a curve's shape).
inline float unitPower(double base, double exponent) {
    if (exponent == 0.0 || base == 1.0) {
        return 1.0f;
    }
    if (!(base > 0.0)) {
        return base == 0.0 ? 0.0f : std::numeric_limits<float>::quiet_NaN();
    }
    const double logarithm = exponent * detail::logKernel(base);
    if (logarithm < -120.0) {
        return 0.0f;
    }
    // A base above 1 is outside the curve's use; it must still not reach the exponent bits.
    if (logarithm > 89.0) {
        return std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(detail::expKernel(logarithm));
}

// The remainder of x / (2pi double), bit for bit what std::fmod returns, for every x >= 0.
inline double fmodTwoPi(double x) {
    if (!detail::inFastPeriodRange(x)) {
        return std::fmod(x, 2.0 * detail::kPi);
    }
    return detail::fmodTwoPiKernel(x);
}

} // namespace Korvatune::FastMath
