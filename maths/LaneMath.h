#pragma once

#include "maths/FastMath.h"
#include "maths/Lanes.h"

#include <bit>
#include <type_traits>

#include <emmintrin.h>

// The audio path's approximations four lanes at a time. Each lane goes through the same
// operations as the scalar function of the same name, so it returns the same bits (the maths
// tests compare them over the same inputs); where the scalar function branches, both sides are
// computed and the lane takes its own. The double-precision work runs in vectors of the
// processor's width: two halves of two lanes with SSE2, all four lanes at once with AVX.
namespace Korvatune::FastMath {

namespace detail {

using Double2 = double __attribute__((vector_size(16)));
using Float2 = float __attribute__((vector_size(8)));
using Int2 = std::int32_t __attribute__((vector_size(8)));
using Mask2 = std::int64_t __attribute__((vector_size(16)));

// The float, int and mask vectors that go with a double vector of the same lane count.
template <class V> struct LaneTypes;
template <> struct LaneTypes<Double2> {
    using Float = Float2;
    using Int = Int2;
    using Mask = Mask2;
};
template <> struct LaneTypes<DoubleLanes> {
    using Float = FloatLanes;
    using Int = IntLanes;
    using Mask = DoubleMask;
};

template <class V> using FloatOf = typename LaneTypes<V>::Float;
template <class V> using IntOf = typename LaneTypes<V>::Int;
template <class V> using MaskOf = typename LaneTypes<V>::Mask;

template <class V> [[gnu::always_inline]] inline V splat(double x) {
    return V{} + x;
}

template <class Mask> [[gnu::always_inline]] inline bool anyLaneSet(Mask mask) {
    if constexpr (std::is_same_v<Mask, Mask2>) {
        return _mm_movemask_pd(laneBits<__m128d>(mask)) != 0;
    } else {
        return (mask[0] | mask[1] | mask[2] | mask[3]) != 0;
    }
}

inline constexpr double kShift = 6755399441055744.0; // 1.5 * 2^52
inline constexpr std::int64_t kShiftBits = std::bit_cast<std::int64_t>(kShift);

// An integer-valued double and the integer itself: adding 1.5 * 2^52 rounds to the nearest
// integer (ties to even) and leaves it, in two's complement, in the low bits of the sum. Plain
// 64-bit lane arithmetic reads it from there, where a conversion to 32-bit integers and back to
// 64-bit lanes would go through memory.
template <class V> struct RoundedLanes {
    V value;
    MaskOf<V> integer;
};

template <class V> [[gnu::always_inline]] inline RoundedLanes<V> roundWithInteger(V x) {
    const V shifted = x + kShift;
    return {shifted - kShift, laneBits<MaskOf<V>>(shifted) - kShiftBits};
}

template <class V> [[gnu::always_inline]] inline V roundToInteger(V x) {
    return (x + kShift) - kShift;
}

template <class V> [[gnu::always_inline]] inline V copySign(V magnitude, V sign) {
    using Mask = MaskOf<V>;
    constexpr auto kSignBit = static_cast<std::int64_t>(0x8000000000000000ull);
    const Mask bits = (laneBits<Mask>(magnitude) & ~kSignBit) | (laneBits<Mask>(sign) & kSignBit);
    return laneBits<V>(bits);
}

// A double that a float kernel would have received: the value rounded to float.
template <class V> [[gnu::always_inline]] inline V roundToFloat(V x) {
    return __builtin_convertvector(__builtin_convertvector(x, FloatOf<V>), V);
}

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

template <class V> struct QuadrantLanes {
    V remainder;
    // Bit 0 and bit 1 of the quadrant, nonzero where set.
    MaskOf<V> odd;
    MaskOf<V> lowerHalf;
};

template <class V> [[gnu::always_inline]] inline QuadrantLanes<V> reduceQuadrant(V x) {
    const RoundedLanes<V> count = roundWithInteger(x * kTwoOverPi);
    return {(x - count.value * kHalfPiHigh) - count.value * kHalfPiLow, count.integer & 1,
            count.integer & 2};
}

template <class V> [[gnu::always_inline]] inline V atanUnit(V t) {
    constexpr double kTanEighth = 0.41421356237309503;
    const V upper = t > kTanEighth ? splat<V>(1.0) : splat<V>(0.0);
    const V folded = (t - 1.0) / (t + 1.0);
    const V u = upper * folded + (1.0 - upper) * t;
    const V s = u * u;
    const V s2 = s * s;
    const V p =
        (0.999999999978399 + s * -0.3333333209761371) +
        s2 * ((0.19999883856762396 + s * -0.14281588776821702) +
              s2 * ((0.11040489267496295 + s * -0.08456193077035462) + s2 * 0.047073484922127116));
    return upper * (kPi / 4) + u * p;
}

template <class V> [[gnu::always_inline]] inline V atanWide(V x) {
    const V magnitude = copySign(x, V{});
    const MaskOf<V> beyondOne = magnitude > 1.0;
    // Table samples rarely exceed 1, so the reciprocal is usually not needed at all.
    if (!anyLaneSet(beyondOne)) {
        return copySign(atanUnit(magnitude), x);
    }
    const V unit = atanUnit(beyondOne ? 1.0 / magnitude : magnitude);
    return copySign(beyondOne ? kHalfPi - unit : unit, x);
}

template <class V> [[gnu::always_inline]] inline V expWide(V x) {
    constexpr double kStepsPerLn2 = 46.16624130844683;
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
    const MaskOf<V> step = count & 31;
    V fraction;
    for (int lane = 0; lane < static_cast<int>(sizeof(V) / sizeof(double)); ++lane) {
        fraction[lane] = kExp2Steps[step[lane]];
    }
    // ((count >> 5) + 1023) << 52 without a right shift of 64-bit lanes, which SSE2 lacks: the
    // counts of the exponent's range are above -1023 * 32, so the biased sum is non-negative.
    const MaskOf<V> exponent = ((count + 1023 * 32) & ~31) << 47;
    return (fraction * p) * laneBits<V>(exponent);
}

template <class V> [[gnu::always_inline]] inline V tanWide(V x) {
    const QuadrantLanes<V> q = reduceQuadrant(x);
    const V s = sinPolynomial(q.remainder);
    const V c = cosPolynomial(q.remainder);
    // One division for both cases: -c / s in odd quadrants, s / c in even ones.
    return (q.odd ? -c : s) / (q.odd ? s : c);
}

template <class V> [[gnu::always_inline]] inline V sinWide(V x) {
    const QuadrantLanes<V> q = reduceQuadrant(x);
    const V value = q.odd ? cosPolynomial(q.remainder) : sinPolynomial(q.remainder);
    return q.lowerHalf ? -value : value;
}

// fmodTwoPi for lanes in the fast range (0 up to 2^26 periods).
template <class V> [[gnu::always_inline]] inline V periodRemainder(V x, V periods) {
    constexpr double kPeriodHigh = 6.283185243606567;
    constexpr double kPeriodLow = 2.0 * kPi - kPeriodHigh;
    return (x - periods * kPeriodHigh) - periods * kPeriodLow;
}

template <class V> [[gnu::always_inline]] inline V fmodTwoPiWide(V x) {
    constexpr double kPeriod = 2.0 * kPi;
    // The quotient truncated toward zero (it is not negative here).
    const V quotient = x / kPeriod;
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
    const MaskOf<V> fast = (x >= 0.0) & (x < kLimit);
    for (int lane = 0; lane < static_cast<int>(sizeof(V) / sizeof(double)); ++lane) {
        if (fast[lane] == 0) {
            return false;
        }
    }
    return true;
}

// Widens the four float lanes, runs a kernel over double vectors and rounds back to float:
// in two halves of two lanes (SSE2), or, with kWide, over all four at once, for code compiled
// for 256-bit registers. Without the upper lanes (2 and 3) only the lower two are computed and
// the upper ones read 0.
template <bool kWide, class Kernel>
[[gnu::always_inline]] inline FloatLanes inDouble(FloatLanes x, const Kernel& kernel,
                                                  bool upperLanes) {
    if constexpr (kWide) {
        const FloatLanes used =
            upperLanes ? x : __builtin_shufflevector(x, FloatLanes{}, 0, 1, 4, 4);
        const FloatLanes result = narrow(kernel(widen(used)));
        return upperLanes ? result : __builtin_shufflevector(result, FloatLanes{}, 0, 1, 4, 4);
    } else {
        const auto low = __builtin_convertvector(__builtin_shufflevector(x, x, 0, 1), Double2);
        const Float2 lowResult = __builtin_convertvector(kernel(low), Float2);
        if (!upperLanes) {
            return __builtin_shufflevector(lowResult, Float2{}, 0, 1, 2, 3);
        }
        const auto high = __builtin_convertvector(__builtin_shufflevector(x, x, 2, 3), Double2);
        const Float2 highResult = __builtin_convertvector(kernel(high), Float2);
        return __builtin_shufflevector(lowResult, highResult, 0, 1, 2, 3);
    }
}

struct AtanKernel {
    template <class V> [[gnu::always_inline]] V operator()(V x) const { return atanWide(x); }
};
struct ExpKernel {
    template <class V> [[gnu::always_inline]] V operator()(V x) const { return expWide(x); }
};
struct TanKernel {
    template <class V> [[gnu::always_inline]] V operator()(V x) const { return tanWide(x); }
};
struct SinKernel {
    template <class V> [[gnu::always_inline]] V operator()(V x) const { return sinWide(x); }
};

} // namespace detail

// upperLanes false: lanes 2 and 3 are not needed, and read 0. kWide: see inDouble; the same
// bits either way.
template <bool kWide = false>
[[gnu::always_inline]] inline FloatLanes atan(FloatLanes x, bool upperLanes = true) {
    return detail::inDouble<kWide>(x, detail::AtanKernel{}, upperLanes);
}

template <bool kWide = false>
[[gnu::always_inline]] inline FloatLanes exp(FloatLanes x, bool upperLanes = true) {
    const IntLanes belowRange = !(x > -104.0f);
    const IntLanes aboveRange = x > 89.0f;
    const IntLanes inRange = !(belowRange | aboveRange);
    // Lanes outside the range compute e^0 and take their own result afterwards.
    const FloatLanes safe = inRange ? x : broadcast(0.0f);
    const FloatLanes value = detail::inDouble<kWide>(safe, detail::ExpKernel{}, upperLanes);
    const FloatLanes low = x != x ? x : broadcast(0.0f);
    const FloatLanes outside = belowRange ? low : broadcast(__builtin_inff());
    return inRange ? value : outside;
}

template <bool kWide = false>
[[gnu::always_inline]] inline FloatLanes tan(FloatLanes x, bool upperLanes = true) {
    return detail::inDouble<kWide>(x, detail::TanKernel{}, upperLanes);
}

template <bool kWide = false> [[gnu::always_inline]] inline FloatLanes sin(FloatLanes x) {
    return detail::inDouble<kWide>(x, detail::SinKernel{}, true);
}

// fmodTwoPi lane by lane; lanes outside the fast range (negative, huge, NaN) take the scalar
// function.
template <class V> [[gnu::always_inline]] inline V fmodTwoPi(V x) {
    if (detail::inFastPeriodRange(x)) {
        return detail::fmodTwoPiWide(x);
    }
    V reduced;
    for (int lane = 0; lane < static_cast<int>(sizeof(V) / sizeof(double)); ++lane) {
        reduced[lane] = fmodTwoPi(static_cast<double>(x[lane]));
    }
    return reduced;
}

namespace detail {

template <class Phase> struct PeriodicSineKernel {
    Phase phase;
    template <class V> [[gnu::always_inline]] V operator()(V x) const {
        return sinWide(roundToFloat(fmodTwoPi(phase(x))));
    }
};

} // namespace detail

// sin(float(fmodTwoPi(phase))) lane by lane: the sine of a phase that grows without bound,
// reduced to one period in double precision first. `phase` maps the widened lanes of x to the
// phases.
template <bool kWide = false, class Phase>
[[gnu::always_inline]] inline FloatLanes periodicSine(FloatLanes x, Phase phase,
                                                      bool upperLanes = true) {
    return detail::inDouble<kWide>(x, detail::PeriodicSineKernel<Phase>{phase}, upperLanes);
}

} // namespace Korvatune::FastMath
