#pragma once

#include "maths/FastMath.h"
#include "maths/PreciseExponential.h"
#include "maths/PreciseTrigonometry.h"

#include <cstring>

namespace Korvatune {

// The functions the control curve and the prewarp take: the precise kernels, for work done
// once, where only the exact value will do.
struct PreciseCurveMaths {
    template <typename T> static T exp(T x) { return PreciseMath::exp(x); }
    template <typename T> static T tan(T x) { return PreciseMath::tan(x); }
};

// The audio path's approximations, for filters whose controls move every sample.
struct FastCurveMaths {
    static float exp(float x) { return FastMath::exp(x); }
    static float tan(float x) { return FastMath::tan(x); }
};

// The filter's design formulas, for a sample type T that is a float or a vector of floats:
// filters side by side in vector lanes compute, lane by lane, what one filter computes.
template <class T> struct HighPassCoefficients { T b0, b1, b2, a1, a2; };

namespace HighPassDesign {

template <class T> T splat(float x) {
    return T{} + x;
}

// 1. exponential control curve from e^(5 cutoff), 147.4132 = e^5 - 1, clamped to 0..1
template <class T> [[gnu::always_inline]] inline T controlCurve(T exponential) {
    T d = (exponential - 1.0f) / 147.4132f;
    d = d < 0.0f ? splat<T>(0.0f) : d;
    return d > 1.0f ? splat<T>(1.0f) : d;
}

// 3. prewarp: the tangent of this angle
template <class T> [[gnu::always_inline]] inline T prewarpAngle(T frequency) {
    return static_cast<float>(3.14159265358979323846) * frequency;
}

template <class T>
[[gnu::always_inline]] inline HighPassCoefficients<T> coefficients(T warped, T resonance) {
    // 4. damping sqrt(2) scaled by 1 - resonance
    const T g = warped * (1.4142135f - resonance * 1.4142135f);
    const T h = warped * warped;
    // 5. coefficients
    const T n = 1.0f / (h + g + 1.0f);
    return {n, -2.0f * n, n, 2.0f * (h - 1.0f) * n, (h + 1.0f - g) * n};
}

} // namespace HighPassDesign

// The control curve's and the coefficients' last inputs and results. Both are pure functions of
// their inputs (compared bit for bit), so filters whose controls move in step, such as the same
// oscillator of voices struck together, may share one memo and compute each value once.
template <typename T> struct HighPassDesignMemo {
    bool curveKnown = false;
    T curveInput = T(0);
    T curveOutput = T(0);
    bool coefficientsKnown = false;
    T frequency = T(0);
    T resonance = T(0);
    T b0 = T(0);
    T b1 = T(0);
    T b2 = T(0);
    T a1 = T(0);
    T a2 = T(0);
    T warped = T(0);
};

// Second-order Butterworth high-pass whose damping is lowered by a resonance
// control and whose 0..1 cutoff control is mapped exponentially and averaged over two samples.
// The control curve and the coefficients are rebuilt only when their inputs change (compared
// bit for bit), which gives the same numbers as rebuilding them every sample; all state is kept
// in the sample type T (the voice and the waveform provider use float).
template <typename T, class Maths = PreciseCurveMaths> class BiquadTweakedButterworthHP {
public:
    static constexpr T kDefaultMaxFrequency = T(0.4777);
    static constexpr T kDefaultMinFrequency = T(0.0001);

    BiquadTweakedButterworthHP() = default;
    BiquadTweakedButterworthHP(T minimumFrequency, T maximumFrequency)
        : maxFrequency(maximumFrequency), minFrequency(minimumFrequency) {}
    virtual ~BiquadTweakedButterworthHP() = default;

    // One sample; cutoff and resonance are 0..1 controls.
    T process(T x, T cutoff, T resonance) {
        setControls(cutoff, resonance);
        return run(x);
    }
    // The two halves of process: a caller running several filters can set all their controls
    // first and then run their recursions side by side.
    inline void setControls(T cutoff, T resonance);
    inline T run(T x);

    // Sets the limits (fractions of the sample rate) and clears every other field. A shared
    // memo is kept: what it holds stays true.
    void reset(T minimumFrequency = kDefaultMinFrequency,
               T maximumFrequency = kDefaultMaxFrequency) {
        maxFrequency = maximumFrequency;
        minFrequency = minimumFrequency;
        lastCutoff = input = x1 = x2 = output = y1 = y2 = T(0);
        b0 = b1 = b2 = a1 = a2 = warped = T(0);
        coefficientsCurrent = false;
        ownMemo = {};
    }

    // Takes the curve and coefficient memo from outside (null returns to the filter's own).
    void shareDesignMemo(HighPassDesignMemo<T>* memo) { sharedMemo = memo; }

    void setMinFrequency(T value) { minFrequency = value; }
    void setMaxFrequency(T value) { maxFrequency = value; }
    T getMinFrequency() const { return minFrequency; }
    T getMaxFrequency() const { return maxFrequency; }

    // Read access to the state, for tests and diagnostics.
    T getLastCutoff() const { return lastCutoff; }
    T getWarped() const { return warped; }
    T getLastInput() const { return input; }
    T getLastOutput() const { return output; }
    T getB0() const { return b0; }
    T getB1() const { return b1; }
    T getB2() const { return b2; }
    T getA1() const { return a1; }
    T getA2() const { return a2; }

private:
    static bool sameBits(T a, T b) { return std::memcmp(&a, &b, sizeof(T)) == 0; }
    inline T controlCurve(T cutoff);
    static inline void updateCoefficients(HighPassDesignMemo<T>& memo, T frequency, T resonance);

    T maxFrequency = kDefaultMaxFrequency;
    T minFrequency = kDefaultMinFrequency;
    T lastCutoff = T(0);
    T input = T(0);
    T x1 = T(0);
    T x2 = T(0);
    T output = T(0);
    T y1 = T(0);
    T y2 = T(0);
    T b0 = T(0);
    T b1 = T(0);
    T b2 = T(0);
    T a1 = T(0);
    T a2 = T(0);
    T warped = T(0);
    // The controls this filter's coefficients were taken for.
    bool coefficientsCurrent = false;
    T coefficientFrequency = T(0);
    T coefficientResonance = T(0);
    HighPassDesignMemo<T> ownMemo;
    HighPassDesignMemo<T>* sharedMemo = nullptr;
};

template <typename T, class Maths>
inline void BiquadTweakedButterworthHP<T, Maths>::setControls(T cutoff, T resonance) {
    const T d = controlCurve(cutoff);
    // 2. two-sample smoothing, scaled to the upper limit, raised to the lower limit
    T fn = (d + lastCutoff) / T(2) * maxFrequency;
    if (fn < minFrequency) {
        fn = minFrequency;
    }
    if (!coefficientsCurrent || !sameBits(fn, coefficientFrequency) ||
        !sameBits(resonance, coefficientResonance)) {
        HighPassDesignMemo<T>& memo = sharedMemo ? *sharedMemo : ownMemo;
        if (!memo.coefficientsKnown || !sameBits(fn, memo.frequency) ||
            !sameBits(resonance, memo.resonance)) {
            updateCoefficients(memo, fn, resonance);
        }
        b0 = memo.b0;
        b1 = memo.b1;
        b2 = memo.b2;
        a1 = memo.a1;
        a2 = memo.a2;
        warped = memo.warped;
        coefficientsCurrent = true;
        coefficientFrequency = fn;
        coefficientResonance = resonance;
    }
    lastCutoff = d;
}

template <typename T, class Maths> inline T BiquadTweakedButterworthHP<T, Maths>::run(T x) {
    // 6. direct form I
    const T y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    // 7. state
    input = x;
    x2 = x1;
    x1 = x;
    output = y;
    y2 = y1;
    y1 = y;
    return y;
}

template <typename T, class Maths>
inline T BiquadTweakedButterworthHP<T, Maths>::controlCurve(T cutoff) {
    HighPassDesignMemo<T>& memo = sharedMemo ? *sharedMemo : ownMemo;
    if (memo.curveKnown && sameBits(cutoff, memo.curveInput)) {
        return memo.curveOutput;
    }
    const T d = HighPassDesign::controlCurve(Maths::exp(T(5) * cutoff));
    memo.curveKnown = true;
    memo.curveInput = cutoff;
    memo.curveOutput = d;
    return d;
}

template <typename T, class Maths>
inline void BiquadTweakedButterworthHP<T, Maths>::updateCoefficients(HighPassDesignMemo<T>& memo,
                                                                     T frequency, T resonance) {
    const T warped = Maths::tan(HighPassDesign::prewarpAngle(frequency));
    const HighPassCoefficients<T> design = HighPassDesign::coefficients(warped, resonance);
    memo.warped = warped;
    memo.b0 = design.b0;
    memo.b1 = design.b1;
    memo.b2 = design.b2;
    memo.a1 = design.a1;
    memo.a2 = design.a2;
    memo.coefficientsKnown = true;
    memo.frequency = frequency;
    memo.resonance = resonance;
}

} // namespace Korvatune
