#pragma once

#include "maths/FastMath.h"
#include "maths/Lanes.h"

// The audio path's approximations four lanes at a time. Each lane runs the kernel the scalar
// function of the same name runs, so it returns the same bits (the maths tests compare them over
// the same inputs). The double-precision work runs in vectors of the processor's width: two
// halves of two lanes with SSE2, all four lanes at once with AVX.
namespace Korvatune::FastMath {

namespace detail {

// A double that a float kernel would have received: the value rounded to float.
template <class V> [[gnu::always_inline]] inline V roundToFloat(V x) {
    return __builtin_convertvector(__builtin_convertvector(x, FloatOf<V>), V);
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
    template <class V> [[gnu::always_inline]] V operator()(V x) const { return atanKernel(x); }
};
struct ExpKernel {
    template <class V> [[gnu::always_inline]] V operator()(V x) const { return expKernel(x); }
};
struct TanKernel {
    template <class V> [[gnu::always_inline]] V operator()(V x) const { return tanKernel(x); }
};
struct SinKernel {
    template <class V> [[gnu::always_inline]] V operator()(V x) const { return sinKernel(x); }
};

// unitPower's branches as selects: lanes outside the kernels' domains compute them on a safe
// input and take their own result afterwards.
struct UnitPowerKernel {
    double exponent;
    template <class V> [[gnu::always_inline]] V operator()(V base) const {
        if (exponent == 0.0) {
            return splat<V>(1.0);
        }
        const MaskOf<V> positive = base > 0.0;
        const V logarithm = exponent * logKernel(positive ? base : splat<V>(1.0));
        const MaskOf<V> underflow = logarithm < -120.0;
        const MaskOf<V> overflow = logarithm > 89.0;
        V result = expKernel((underflow | overflow) ? splat<V>(0.0) : logarithm);
        result = underflow ? splat<V>(0.0) : result;
        result = overflow ? splat<V>(__builtin_inf()) : result;
        const V notPositive = base == 0.0 ? splat<V>(0.0) : splat<V>(__builtin_nan(""));
        result = positive ? result : notPositive;
        return base == 1.0 ? splat<V>(1.0) : result;
    }
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

// unitPower lane by lane, every lane with the same exponent.
template <bool kWide = false>
[[gnu::always_inline]] inline FloatLanes unitPower(FloatLanes base, float exponent) {
    return detail::inDouble<kWide>(base, detail::UnitPowerKernel{static_cast<double>(exponent)},
                                   true);
}

template <bool kWide = false> [[gnu::always_inline]] inline FloatLanes sin(FloatLanes x) {
    return detail::inDouble<kWide>(x, detail::SinKernel{}, true);
}

// fmodTwoPi lane by lane; lanes outside the fast range (negative, huge, NaN) take the scalar
// function.
template <class V> [[gnu::always_inline]] inline V fmodTwoPi(V x) {
    if (detail::inFastPeriodRange(x)) {
        return detail::fmodTwoPiKernel(x);
    }
    V reduced;
    for (int lane = 0; lane < detail::kLaneCount<V>; ++lane) {
        reduced[lane] = fmodTwoPi(static_cast<double>(x[lane]));
    }
    return reduced;
}

namespace detail {

template <class Phase> struct PeriodicSineKernel {
    Phase phase;
    template <class V> [[gnu::always_inline]] V operator()(V x) const {
        return sinKernel(roundToFloat(fmodTwoPi(phase(x))));
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
