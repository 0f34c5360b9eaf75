#pragma once

#include "maths/Lanes.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <type_traits>

#include <emmintrin.h>

// The polynomials and range reductions behind the audio path's approximations, written once for
// a double or a vector of doubles. Where the scalar form would branch, the vector form computes
// both sides and each lane takes its own, so a lane returns the bits the scalar computes for it.
namespace Korvatune::FastMath::detail {

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kHalfPi = 1.5707963267948966;
inline constexpr double kTwoOverPi = 0.6366197723675814;
// pi/2 in two parts: the first has 33 significant bits, so quadrant counts below 2^20 times it
// are exact.
inline constexpr double kHalfPiHigh = 1.5707963267341256;
inline constexpr double kHalfPiLow = 6.077100506506192e-11;
inline constexpr double kLn2High = 0.6931471803691238;
inline constexpr double kLn2Low = 1.9082149292705877e-10;

using Double2 = double __attribute__((vector_size(16)));
using Float2 = float __attribute__((vector_size(8)));
using Mask2 = std::int64_t __attribute__((vector_size(16)));

// The float and mask types that go with a double or a double vector of the same lane count.
template <class V> struct LaneTypes;
template <> struct LaneTypes<double> {
    using Float = float;
    using Mask = std::int64_t;
    using Unsigned = std::uint64_t;
};
template <> struct LaneTypes<Double2> {
    using Float = Float2;
    using Mask = Mask2;
    using Unsigned = std::uint64_t __attribute__((vector_size(16)));
};
template <> struct LaneTypes<DoubleLanes> {
    using Float = FloatLanes;
    using Mask = DoubleMask;
    using Unsigned = std::uint64_t __attribute__((vector_size(32)));
};

template <class V> using FloatOf = typename LaneTypes<V>::Float;
template <class V> using MaskOf = typename LaneTypes<V>::Mask;
template <class V> using UnsignedOf = typename LaneTypes<V>::Unsigned;

template <class V> inline constexpr int kLaneCount = sizeof(V) / sizeof(double);

template <class V> [[gnu::always_inline]] inline V splat(double x) {
    return V{} + x;
}

// The bits of a double or a double vector read as another type of the same size.
template <class To, class From> [[gnu::always_inline]] inline To bitsAs(From x) {
    if constexpr (std::is_arithmetic_v<From>) {
        return std::bit_cast<To>(x);
    } else {
        return laneBits<To>(x);
    }
}

template <class Mask> [[gnu::always_inline]] inline bool anyLaneSet(Mask mask) {
    if constexpr (std::is_same_v<Mask, std::int64_t>) {
        return mask != 0;
    } else if constexpr (std::is_same_v<Mask, Mask2>) {
        return _mm_movemask_pd(laneBits<__m128d>(mask)) != 0;
    } else {
        return (mask[0] | mask[1] | mask[2] | mask[3]) != 0;
    }
}

inline constexpr double kShift = 6755399441055744.0; // 1.5 * 2^52
inline constexpr std::int64_t kShiftBits = std::bit_cast<std::int64_t>(kShift);

// Rounds to the nearest integer (ties to even) for |x| < 2^51 by letting the addition drop the
// fraction: no library call and no instruction beyond SSE2.
template <class V> [[gnu::always_inline]] inline V roundToInteger(V x) {
    return (x + kShift) - kShift;
}

// An integer-valued double and the integer itself: the rounding sum leaves the integer, in two's
// complement, in its low bits. Plain 64-bit arithmetic reads it from there, where a conversion to
// 32-bit integers and back to 64-bit lanes would go through memory.
template <class V> struct RoundedLanes {
    V value;
    MaskOf<V> integer;
};

template <class V> [[gnu::always_inline]] inline RoundedLanes<V> roundWithInteger(V x) {
    const V shifted = x + kShift;
    return {shifted - kShift, bitsAs<MaskOf<V>>(shifted) - kShiftBits};
}

// The double of an integer in 0..2^51, the reverse of the rounding sum.
template <class V> [[gnu::always_inline]] inline V fromInteger(MaskOf<V> integer) {
    return bitsAs<V>(integer + kShiftBits) - kShift;
}

template <class V> [[gnu::always_inline]] inline V copySign(V magnitude, V sign) {
    if constexpr (std::is_same_v<V, double>) {
        return std::copysign(magnitude, sign);
    } else {
        using Mask = MaskOf<V>;
        constexpr auto kSignBit = static_cast<std::int64_t>(0x8000000000000000ull);
        const Mask bits =
            (laneBits<Mask>(magnitude) & ~kSignBit) | (laneBits<Mask>(sign) & kSignBit);
        return laneBits<V>(bits);
    }
}

// Taylor polynomials on |r| <= pi/4, good to a few parts in 1e9, summed in pairs of powers
// (Estrin's scheme) for a short dependency chain.
template <class V> [[gnu::always_inline]] inline V sinPolynomial(V r) {
    const V s = r * r;
    const V tail = (-1.0 / 6 + s * (1.0 / 120)) + (s * s) * (-1.0 / 5040 + s * (1.0 / 362880));
    return r + r * (s * tail);
}

template <class V> [[gnu::always_inline]] inline V cosPolynomial(V r) {
    const V s = r * r;
    const V s2 = s * s;
    const V tail =
        (-0.5 + s * (1.0 / 24)) + s2 * ((-1.0 / 720 + s * (1.0 / 40320)) + s2 * (-1.0 / 3628800));
    return 1.0 + s * tail;
}

// x = quadrant * pi/2 + remainder with |remainder| <= pi/4 (a little more for huge x).
template <class V> struct Quadrant {
    V remainder;
    // Bit 0 and bit 1 of the quadrant, nonzero where set.
    MaskOf<V> odd;
    MaskOf<V> lowerHalf;
};

template <class V> [[gnu::always_inline]] inline Quadrant<V> reduceQuadrant(V x) {
    const RoundedLanes<V> count = roundWithInteger(x * kTwoOverPi);
    return {(x - count.value * kHalfPiHigh) - count.value * kHalfPiLow, count.integer & 1,
            count.integer & 2};
}

// For |x| < 2^20.
template <class V> [[gnu::always_inline]] inline V sinKernel(V x) {
    const Quadrant<V> q = reduceQuadrant(x);
    const V value = q.odd ? cosPolynomial(q.remainder) : sinPolynomial(q.remainder);
    return q.lowerHalf ? -value : value;
}

// For |x| < 2^20.
template <class V> [[gnu::always_inline]] inline V tanKernel(V x) {
    const Quadrant<V> q = reduceQuadrant(x);
    const V s = sinPolynomial(q.remainder);
    const V c = cosPolynomial(q.remainder);
    // One division for both cases: -c / s in odd quadrants, s / c in even ones.
    return (q.odd ? -c : s) / (q.odd ? s : c);
}

// atan(t) for 0 <= t <= 1 without branches (table samples change sign and size every call):
// above tan(pi/8) the angle is pi/4 plus atan((t - 1) / (t + 1)), which folds every argument
// into |u| <= tan(pi/8); there a polynomial in u^2, fitted at Chebyshev nodes, is good to 3e-11.
template <class V> [[gnu::always_inline]] inline V atanUnit(V t) {
    constexpr double kTanEighth = 0.41421356237309503;
    const V upper = t > kTanEighth ? splat<V>(1.0) : splat<V>(0.0);
    const V folded = (t - 1.0) / (t + 1.0);
    // One term is exactly zero, so the sum is exactly the chosen argument.
    const V u = upper * folded + (1.0 - upper) * t;
    const V s = u * u;
    const V s2 = s * s;
    const V p =
        (0.999999999978399 + s * -0.3333333209761371) +
        s2 * ((0.19999883856762396 + s * -0.14281588776821702) +
              s2 * ((0.11040489267496295 + s * -0.08456193077035462) + s2 * 0.047073484922127116));
    return upper * (kPi / 4) + u * p;
}

// atan(x) for every x; beyond 1 in magnitude from the reciprocal.
template <class V> [[gnu::always_inline]] inline V atanKernel(V x) {
    const V magnitude = copySign(x, V{});
    const MaskOf<V> beyondOne = magnitude > 1.0;
    // Table samples rarely exceed 1, so the reciprocal is usually not needed at all.
    if (!anyLaneSet(beyondOne)) {
        return copySign(atanUnit(magnitude), x);
    }
    const V unit = atanUnit(beyondOne ? 1.0 / magnitude : magnitude);
    return copySign(beyondOne ? kHalfPi - unit : unit, x);
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

template <class V> [[gnu::always_inline]] inline V exp2Step(MaskOf<V> step) {
    if constexpr (std::is_same_v<V, double>) {
        return kExp2Steps[step];
    } else {
        V fraction;
        for (int lane = 0; lane < kLaneCount<V>; ++lane) {
            fraction[lane] = kExp2Steps[step[lane]];
        }
        return fraction;
    }
}

// e^x for |x| < 700: x = (32 m + j) ln2 / 32 + r with |r| <= ln2 / 64, so e^x is 2^m times
// 2^(j/32) times a Taylor polynomial in r good to 2e-12.
template <class V> [[gnu::always_inline]] inline V expKernel(V x) {
    constexpr double kStepsPerLn2 = 46.16624130844683; // 32 / ln2
    // ln2 / 32 in two parts; the first has 24 significant bits, so step counts below 2^29 times
    // it are exact.
    constexpr double kStepHigh = 0.021660848520696163;
    constexpr double kStepLow = 8.718021277417983e-10;
    const RoundedLanes<V> rounded = roundWithInteger(x * kStepsPerLn2);
    const V steps = rounded.value;
    const V r = (x - steps * kStepHigh) - steps * kStepLow;
    const MaskOf<V> count = rounded.integer;
    V p = splat<V>(1.0 / 24);
    p = 1.0 / 6 + r * p;
    p = 0.5 + r * p;
    p = 1.0 + r * p;
    p = 1.0 + r * p;
    // ((count >> 5) + 1023) << 52 without a right shift of 64-bit lanes, which SSE2 lacks: the
    // counts of the exponent's range are above -1023 * 32, so the biased sum is non-negative.
    const MaskOf<V> exponent = ((count + 1023 * 32) & ~31) << 47;
    return (exp2Step<V>(count & 31) * p) * bitsAs<V>(exponent);
}

// Natural logarithm of a positive normal double: m * 2^e with m in [sqrt(1/2), sqrt(2)),
// log m from the series of atanh((m - 1) / (m + 1)).
template <class V> [[gnu::always_inline]] inline V logKernel(V x) {
    const UnsignedOf<V> bits = bitsAs<UnsignedOf<V>>(x);
    const V unitMantissa = bitsAs<V>((bits & 0x000FFFFFFFFFFFFFull) | 0x3FF0000000000000ull);
    const MaskOf<V> high = unitMantissa > 1.4142135623730951;
    const V m = high ? unitMantissa * 0.5 : unitMantissa;
    // The sign bit is clear, so the shift leaves the biased exponent alone.
    const auto biased = bitsAs<MaskOf<V>>(bits >> 52);
    const V e = (fromInteger<V>(biased) - 1023.0) + (high ? splat<V>(1.0) : splat<V>(0.0));
    const V s = (m - 1.0) / (m + 1.0);
    const V s2 = s * s;
    V p = splat<V>(1.0 / 11);
    p = 1.0 / 9 + s2 * p;
    p = 1.0 / 7 + s2 * p;
    p = 1.0 / 5 + s2 * p;
    p = 1.0 / 3 + s2 * p;
    return (e * kLn2High + 2.0 * s * (1.0 + s2 * p)) + e * kLn2Low;
}

// x - n * 2pi (double) with the period split so the product is exact below 2^26 periods.
template <class V> [[gnu::always_inline]] inline V periodRemainder(V x, V periods) {
    constexpr double kPeriodHigh = 6.283185243606567; // 2pi with its low 27 bits cleared
    constexpr double kPeriodLow = 2.0 * kPi - kPeriodHigh;
    return (x - periods * kPeriodHigh) - periods * kPeriodLow;
}

// The remainder of x / (2pi double), bit for bit what std::fmod returns, for x from 0 up to
// 2^26 periods: there the quotient times the split period is exact, so no division loop is
// needed.
template <class V> [[gnu::always_inline]] inline V fmodTwoPiKernel(V x) {
    constexpr double kPeriod = 2.0 * kPi;
    // The quotient truncated toward zero (it is not negative here). A product instead of the
    // division: it may land an integer off where the quotient is within 2^-25 of one, which the
    // corrections below take back, as they do for the division's rounding.
    const V quotient = x * (1.0 / kPeriod);
    const V nearest = roundToInteger(quotient);
    const V n = nearest > quotient ? nearest - 1.0 : nearest;
    const V r = periodRemainder(x, n);
    V corrected = r < 0.0 ? periodRemainder(x, n - 1.0) : r;
    corrected = r >= kPeriod ? periodRemainder(x, n + 1.0) : corrected;
    const V lowCycles = x < 2.0 * kPeriod ? x - kPeriod : corrected;
    return x < kPeriod ? x : lowCycles;
}

template <class V> [[gnu::always_inline]] inline bool inFastPeriodRange(V x) {
    constexpr double kLimit = 67108864.0 * 2.0 * kPi;
    if constexpr (std::is_same_v<V, double>) {
        return x >= 0.0 && x < kLimit;
    } else {
        const MaskOf<V> fast = (x >= 0.0) & (x < kLimit);
        // One test of all lanes together: this runs for every modulator sine.
        std::int64_t all = fast[0];
        for (int lane = 1; lane < kLaneCount<V>; ++lane) {
            all &= fast[lane];
        }
        return all != 0;
    }
}

} // namespace Korvatune::FastMath::detail
