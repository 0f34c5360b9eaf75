#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

// Single-precision transcendentals for the audio path. Each works in double internally, so
// that its result lies within one unit in the last place of the float it stands in for (the
// maths tests measure the worst error over the inputs the engine feeds them). Plain scalar
// arithmetic only: the same source gives the same bits on every x86 target with SSE2 maths.
namespace Korvatune::FastMath {

namespace detail {

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kHalfPi = 1.5707963267948966;
inline constexpr double kTwoOverPi = 0.6366197723675814;
// pi/2 in two parts: the first has 33 significant bits, so quadrant counts below 2^20 times it
// are exact.
inline constexpr double kHalfPiHigh = 1.5707963267341256;
inline constexpr double kHalfPiLow = 6.077100506506192e-11;
inline constexpr double kLn2High = 0.6931471803691238;
inline constexpr double kLn2Low = 1.9082149292705877e-10;

// Rounds to the nearest integer (ties to even) for |x| < 2^51 by letting the addition drop the
// fraction: no library call and no instruction beyond SSE2.
inline double roundToInteger(double x) {
    constexpr double kShift = 6755399441055744.0; // 1.5 * 2^52
    return (x + kShift) - kShift;
}

// Taylor polynomials on |r| <= pi/4, good to a few parts in 1e9, summed in pairs of powers
// (Estrin's scheme) for a short dependency chain.
inline double sinPolynomial(double r) {
    const double s = r * r;
    const double tail = (-1.0 / 6 + s * (1.0 / 120)) + (s * s) * (-1.0 / 5040 + s * (1.0 / 362880));
    return r + r * (s * tail);
}

inline double cosPolynomial(double r) {
    const double s = r * r;
    const double s2 = s * s;
    const double tail =
        (-0.5 + s * (1.0 / 24)) + s2 * ((-1.0 / 720 + s * (1.0 / 40320)) + s2 * (-1.0 / 3628800));
    return 1.0 + s * tail;
}

// x = quadrant * pi/2 + remainder with |remainder| <= pi/4 (a little more for huge x).
struct Quadrant {
    double remainder;
    int quadrant;
};

inline Quadrant reduceQuadrant(double x) {
    const double count = roundToInteger(x * kTwoOverPi);
    return {(x - count * kHalfPiHigh) - count * kHalfPiLow, static_cast<int>(count) & 3};
}

// 2^(j/32) for j = 0..31.
inline constexpr double kExp2Steps[32] = {1.0,
                                          1.0218971486541166,
                                          1.0442737824274138,
                                          1.0671404006768237,
                                          1.0905077326652577,
                                          1.1143867425958924,
                                          1.1387886347566916,
                                          1.1637248587775775,
                                          1.189207115002721,
                                          1.215247359980469,
                                          1.241857812073484,
                                          1.2690509571917332,
                                          1.2968395546510096,
                                          1.3252366431597413,
                                          1.3542555469368927,
                                          1.383909881963832,
                                          1.4142135623730951,
                                          1.4451808069770467,
                                          1.4768261459394993,
                                          1.5091644275934228,
                                          1.5422108254079407,
                                          1.5759808451078865,
                                          1.6104903319492543,
                                          1.645755478153965,
                                          1.681792830507429,
                                          1.718619298122478,
                                          1.7562521603732995,
                                          1.7947090750031072,
                                          1.8340080864093424,
                                          1.8741676341103,
                                          1.9152065613971474,
                                          1.9571441241754002};

// e^x for |x| < 700: x = (32 m + j) ln2 / 32 + r with |r| <= ln2 / 64, so e^x is 2^m times
// 2^(j/32) times a Taylor polynomial in r good to 2e-12.
inline double expDouble(double x) {
    constexpr double kStepsPerLn2 = 46.16624130844683; // 32 / ln2
    // ln2 / 32 in two parts; the first has 24 significant bits, so step counts below 2^29
    // times it are exact.
    constexpr double kStepHigh = 0.021660848520696163;
    constexpr double kStepLow = 8.718021277417983e-10;
    const double steps = roundToInteger(x * kStepsPerLn2);
    const double r = (x - steps * kStepHigh) - steps * kStepLow;
    const int count = static_cast<int>(steps);
    double p = 1.0 / 24;
    p = 1.0 / 6 + r * p;
    p = 0.5 + r * p;
    p = 1.0 + r * p;
    p = 1.0 + r * p;
    const auto exponent = static_cast<std::uint64_t>((count >> 5) + 1023);
    return (kExp2Steps[count & 31] * p) * std::bit_cast<double>(exponent << 52);
}

// Natural logarithm of a positive normal double: m * 2^e with m in [sqrt(1/2), sqrt(2)),
// log m from the series of atanh((m - 1) / (m + 1)).
inline double logDouble(double x) {
    auto bits = std::bit_cast<std::uint64_t>(x);
    auto exponent = static_cast<std::int64_t>(bits >> 52) - 1023;
    bits = (bits & 0x000FFFFFFFFFFFFFull) | 0x3FF0000000000000ull;
    double m = std::bit_cast<double>(bits);
    if (m > 1.4142135623730951) {
        m *= 0.5;
        ++exponent;
    }
    const double s = (m - 1.0) / (m + 1.0);
    const double s2 = s * s;
    double p = 1.0 / 11;
    p = 1.0 / 9 + s2 * p;
    p = 1.0 / 7 + s2 * p;
    p = 1.0 / 5 + s2 * p;
    p = 1.0 / 3 + s2 * p;
    const double e = static_cast<double>(exponent);
    return (e * kLn2High + 2.0 * s * (1.0 + s2 * p)) + e * kLn2Low;
}

} // namespace detail

// Sine and cosine of a double angle to double precision (about one unit in the last place),
// for filter designs rebuilt every sample while they glide.
struct SineCosine {
    double sine;
    double cosine;
};

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

// For |x| < 2^20.
inline SineCosine sinCos(double x) {
    const detail::Quadrant q = detail::reduceQuadrant(x);
    const double s = detail::preciseSinPolynomial(q.remainder);
    const double c = detail::preciseCosPolynomial(q.remainder);
    switch (q.quadrant) {
    case 0:
        return {s, c};
    case 1:
        return {c, -s};
    case 2:
        return {-s, -c};
    default:
        return {-c, s};
    }
}

// sin(x) for |x| < 2^20; the engine feeds one period, 0..2pi.
inline float sin(float x) {
    const detail::Quadrant q = detail::reduceQuadrant(static_cast<double>(x));
    double value = 0.0;
    switch (q.quadrant) {
    case 0:
        value = detail::sinPolynomial(q.remainder);
        break;
    case 1:
        value = detail::cosPolynomial(q.remainder);
        break;
    case 2:
        value = -detail::sinPolynomial(q.remainder);
        break;
    default:
        value = -detail::cosPolynomial(q.remainder);
        break;
    }
    return static_cast<float>(value);
}

// tan(x) for |x| < 2^20; the engine feeds prewarping angles in 0..pi/2.
inline float tan(float x) {
    const detail::Quadrant q = detail::reduceQuadrant(static_cast<double>(x));
    const double s = detail::sinPolynomial(q.remainder);
    const double c = detail::cosPolynomial(q.remainder);
    return static_cast<float>((q.quadrant & 1) != 0 ? -c / s : s / c);
}

namespace detail {

// atan(t) for 0 <= t <= 1 without branches (table samples change sign and size every call):
// above tan(pi/8) the angle is pi/4 plus atan((t - 1) / (t + 1)), which folds every argument
// into |u| <= tan(pi/8); there a polynomial in u^2, fitted at Chebyshev nodes, is good to 3e-11.
inline double atanUnit(double t) {
    constexpr double kTanEighth = 0.41421356237309503;
    const double upper = t > kTanEighth ? 1.0 : 0.0;
    const double folded = (t - 1.0) / (t + 1.0);
    // One term is exactly zero, so the sum is exactly the chosen argument.
    const double u = upper * folded + (1.0 - upper) * t;
    const double s = u * u;
    // Summed in pairs of powers (Estrin's scheme): a shorter dependency chain than Horner's.
    const double s2 = s * s;
    const double p =
        (0.999999999978399 + s * -0.3333333209761371) +
        s2 * ((0.19999883856762396 + s * -0.14281588776821702) +
              s2 * ((0.11040489267496295 + s * -0.08456193077035462) + s2 * 0.047073484922127116));
    return upper * (kPi / 4) + u * p;
}

} // namespace detail

// atan(x) for every float; beyond 1 in magnitude from the reciprocal.
inline float atan(float x) {
    const double magnitude = std::fabs(static_cast<double>(x));
    if (magnitude > 1.0) {
        const double angle = detail::kHalfPi - detail::atanUnit(1.0 / magnitude);
        return static_cast<float>(std::copysign(angle, static_cast<double>(x)));
    }
    return static_cast<float>(std::copysign(detail::atanUnit(magnitude), static_cast<double>(x)));
}

// e^x for every float.
inline float exp(float x) {
    if (!(x > -104.0f)) {
        return std::isnan(x) ? x : 0.0f;
    }
    if (x > 89.0f) {
        return std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(detail::expDouble(static_cast<double>(x)));
}

// base^exponent rounded to float, for base in 0..1 and exponent in 0..64 (a curve's shape).
inline float unitPower(double base, double exponent) {
    if (exponent == 0.0 || base == 1.0) {
        return 1.0f;
    }
    if (!(base > 0.0)) {
        return base == 0.0 ? 0.0f : std::numeric_limits<float>::quiet_NaN();
    }
    const double logarithm = exponent * detail::logDouble(base);
    if (logarithm < -120.0) {
        return 0.0f;
    }
    // A base above 1 is outside the curve's use; it must still not reach the exponent bits.
    if (logarithm > 89.0) {
        return std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(detail::expDouble(logarithm));
}

// The remainder of x / (2pi double), bit for bit what std::fmod returns, for x >= 0. Below
// 2^26 periods the quotient times the split period is exact, so x - n * 2pi needs no
// division loop.
inline double fmodTwoPi(double x) {
    constexpr double kPeriod = 2.0 * detail::kPi;
    // kPeriod with its low 27 bits cleared, and what they held.
    constexpr double kPeriodHigh = 6.283185243606567;
    constexpr double kPeriodLow = kPeriod - kPeriodHigh;
    if (!(x >= 0.0) || !(x < 67108864.0 * kPeriod)) {
        return std::fmod(x, kPeriod);
    }
    if (x < kPeriod) {
        return x;
    }
    if (x < 2.0 * kPeriod) {
        return x - kPeriod;
    }
    double n = static_cast<double>(static_cast<std::int32_t>(x / kPeriod));
    double r = (x - n * kPeriodHigh) - n * kPeriodLow;
    if (r < 0.0) {
        n -= 1.0;
        r = (x - n * kPeriodHigh) - n * kPeriodLow;
    } else if (r >= kPeriod) {
        n += 1.0;
        r = (x - n * kPeriodHigh) - n * kPeriodLow;
    }
    return r;
}

} // namespace Korvatune::FastMath
