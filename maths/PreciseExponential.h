#pragma once

#include "maths/MathKernels.h"
#include "maths/PreciseArithmetic.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

// Exponentials, logarithms and powers to within an ulp of a double, the same bits on every
// target: for the Chebyshev design, the distortion tables and curves, the control curves and
// the quantiser's levels. The float forms round the double result once.
namespace Korvatune::PreciseMath {

namespace detail {

// 2^(j/32) for j = 0..31 as hi + lo.
inline constexpr DoubleDouble kExpSteps[32] = {{1.0, 0.0},
                                               {1.0218971486541166, 5.109225028973444e-17},
                                               {1.0442737824274138, 8.551889705537965e-17},
                                               {1.0671404006768237, -7.899853966841582e-17},
                                               {1.0905077326652577, -3.046782079812471e-17},
                                               {1.1143867425958924, 1.0410278456845571e-16},
                                               {1.1387886347566916, 8.912812676025408e-17},
                                               {1.1637248587775775, 3.8292048369240935e-17},
                                               {1.189207115002721, 3.982015231465646e-17},
                                               {1.215247359980469, -7.712630692681488e-17},
                                               {1.241857812073484, 4.658027591836937e-17},
                                               {1.2690509571917332, 2.667932131342186e-18},
                                               {1.2968395546510096, 2.5382502794888315e-17},
                                               {1.3252366431597413, -2.8587312100388614e-17},
                                               {1.3542555469368927, 7.70094837980299e-17},
                                               {1.383909881963832, -6.770511658794786e-17},
                                               {1.4142135623730951, -9.667293313452913e-17},
                                               {1.4451808069770467, -3.0237581349939873e-17},
                                               {1.4768261459394993, -3.483994556892796e-17},
                                               {1.5091644275934228, -1.016455327754295e-16},
                                               {1.5422108254079407, 7.949834809697621e-17},
                                               {1.5759808451078865, -1.0136916471278304e-17},
                                               {1.6104903319492543, 2.4707192569797888e-17},
                                               {1.645755478153965, -1.0125679913674773e-16},
                                               {1.681792830507429, 8.199010020581497e-17},
                                               {1.718619298122478, -1.851380418263111e-17},
                                               {1.7562521603732995, 2.960140695448873e-17},
                                               {1.7947090750031072, 1.8227458427912087e-17},
                                               {1.8340080864093424, 3.283107224245627e-17},
                                               {1.8741676341103, -6.122763413004143e-17},
                                               {1.9152065613971474, -1.0619946056195963e-16},
                                               {1.9571441241754002, 8.960767791036668e-17}};

inline constexpr double kStepsPerLn2 = 46.16624130844683; // 32 / ln2
// ln2 / 32 in two parts; the first has 37 significant bits, so its products with the step
// counts of the whole exponent range are exact.
inline constexpr double kLn2StepHigh = 0.021660849392446835;
inline constexpr double kLn2StepLow = 5.145609244655338e-14;
inline constexpr double kLn2 = 0.6931471805599453;
inline constexpr double kLn2Low = 2.3190468138462996e-17;
// ln2 in two parts for the logarithm; the first has 42 significant bits, so its products with
// every binary exponent are exact.
inline constexpr double kLn2ExponentHigh = 0.6931471805598903;
inline constexpr double kLn2ExponentLow = 5.497923018708371e-14;
inline constexpr double kSqrtTwo = 1.4142135623730951;
// Beyond these e^x overflows or underflows to 0.
inline constexpr double kExpOverflow = 709.782712893384;
inline constexpr double kExpUnderflow = -745.2;

// value * 2^exponent for value in [1/2, 4), rounded once also where the result is subnormal.
inline double scaled(double value, int exponent) {
    if (exponent > 1000) {
        return value * powerOfTwo(1000) * powerOfTwo(exponent - 1000);
    }
    if (exponent < -1000) {
        return value * powerOfTwo(exponent + 1000) * powerOfTwo(-1000);
    }
    return value * powerOfTwo(exponent);
}

// e^(steps ln2/32 + r) for |r| <= ln2/64 and a little beyond, r = hi + lo: 2^(j/32) from the
// table, 2^m by the exponent, and a Taylor polynomial to r^6 (good to 4e-18) for the rest.
inline double stepsExp(int steps, DoubleDouble r) {
    const double x = r.hi;
    const double polynomial =
        x * x * (0.5 + x * (1.0 / 6 + x * (1.0 / 24 + x * (1.0 / 120 + x * (1.0 / 720)))));
    const double fraction = x + (polynomial + r.lo * (1.0 + x));
    const DoubleDouble& step = kExpSteps[steps & 31];
    return scaled(step.hi + (step.hi * fraction + step.lo), steps >> 5);
}

// e^(x + xLow) for x within the finite range.
inline double expInRange(double x, double xLow) {
    const double steps = FastMath::detail::roundToInteger(x * kStepsPerLn2);
    // Exact: the product is exact and x lies within a factor 2 of it (or it is 0).
    const double reduced = x - steps * kLn2StepHigh;
    const DoubleDouble r = twoSum(reduced, xLow - steps * kLn2StepLow);
    return stepsExp(static_cast<int>(steps), r);
}

// log(x) as hi + lo for a positive finite x, to about 2^-58 of its value: x = m 2^e with m in
// [sqrt(1/2), sqrt(2)), log m = 2 atanh(s) with s = (m - 1) / (m + 1) carried as a pair, its
// series to s^21 good to 1e-18.
inline DoubleDouble logParts(double x) {
    int exponent = 0;
    if (x < std::numeric_limits<double>::min()) {
        x *= powerOfTwo(54);
        exponent = -54;
    }
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(x);
    exponent += static_cast<int>(bits >> 52) - 1023;
    double m = std::bit_cast<double>((bits & 0x000FFFFFFFFFFFFFull) | 0x3FF0000000000000ull);
    if (m > kSqrtTwo) {
        m *= 0.5;
        exponent += 1;
    }
    const double numerator = m - 1.0; // exact: m is within a factor 2 of 1
    const DoubleDouble denominator = twoSum(m, 1.0);
    // One division: what the reciprocal's rounding costs s, the exact residual gives back.
    const double reciprocal = 1.0 / denominator.hi;
    const double s = numerator * reciprocal;
    const DoubleDouble back = twoProduct(s, denominator.hi);
    const double sLow = (((numerator - back.hi) - back.lo) - s * denominator.lo) * reciprocal;
    const double z = s * s;
    const double z2 = z * z;
    const double z4 = z2 * z2;
    const double series = ((2.0 / 3 + z * (2.0 / 5)) + z2 * (2.0 / 7 + z * (2.0 / 9))) +
                          z4 * (((2.0 / 11 + z * (2.0 / 13)) + z2 * (2.0 / 15 + z * (2.0 / 17))) +
                                z4 * (2.0 / 19 + z * (2.0 / 21)));
    const double e = exponent;
    const DoubleDouble leading = twoSum(e * kLn2ExponentHigh, 2.0 * s);
    return fastTwoSum(leading.hi,
                      leading.lo + (e * kLn2ExponentLow + (2.0 * sLow + s * (z * series))));
}

} // namespace detail

inline double exp(double x) {
    if (!(x > detail::kExpUnderflow)) {
        return std::isnan(x) ? x : 0.0;
    }
    if (x > detail::kExpOverflow) {
        return std::numeric_limits<double>::infinity();
    }
    return detail::expInRange(x, 0.0);
}

// 2^x, exact where x is a whole number.
inline double exp2(double x) {
    if (!(x > -1075.0)) {
        return std::isnan(x) ? x : 0.0;
    }
    if (x >= 1024.0) {
        return std::numeric_limits<double>::infinity();
    }
    const double steps = FastMath::detail::roundToInteger(x * 32.0);
    // Exact: x lies within a factor 2 of steps / 32 (or that is 0).
    const double fraction = x - steps * (1.0 / 32);
    const DoubleDouble product = twoProduct(fraction, detail::kLn2);
    return detail::stepsExp(static_cast<int>(steps),
                            fastTwoSum(product.hi, product.lo + fraction * detail::kLn2Low));
}

inline double log(double x) {
    if (!(x > 0.0) || x == std::numeric_limits<double>::infinity()) {
        if (x == 0.0) {
            return -std::numeric_limits<double>::infinity();
        }
        return x < 0.0 ? std::numeric_limits<double>::quiet_NaN() : x;
    }
    return detail::logParts(x).hi;
}

// base^exponent for base >= 0 (a negative base gives NaN) and |exponent| up to 64 or so, where
// the logarithm's extra bits keep it within an ulp.
inline double pow(double base, double exponent) {
    if (exponent == 0.0 || base == 1.0) {
        return 1.0;
    }
    if (std::isnan(base) || std::isnan(exponent) || base < 0.0) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    if (base == 0.0 || base == std::numeric_limits<double>::infinity()) {
        return (base == 0.0) == (exponent > 0.0) ? 0.0 : std::numeric_limits<double>::infinity();
    }
    const DoubleDouble logarithm = detail::logParts(base);
    const DoubleDouble product = twoProduct(exponent, logarithm.hi);
    const DoubleDouble power = fastTwoSum(product.hi, product.lo + exponent * logarithm.lo);
    if (!(power.hi > detail::kExpUnderflow)) {
        return 0.0;
    }
    if (power.hi > detail::kExpOverflow) {
        return std::numeric_limits<double>::infinity();
    }
    return detail::expInRange(power.hi, power.lo);
}

inline float exp(float x) {
    return static_cast<float>(exp(static_cast<double>(x)));
}

inline float exp2(float x) {
    return static_cast<float>(exp2(static_cast<double>(x)));
}

} // namespace Korvatune::PreciseMath
