#pragma once

#include "filters/BiquadTweakedButterworthHP.h"
#include "maths/LaneMath.h"

namespace Korvatune {

// The control curve's and the coefficients' last inputs and results for four lanes; filters
// whose controls move in step (the oscillators of voices struck together) may share one.
// The upper flags tell whether lanes 2 and 3 were computed too.
struct HighPassLanesMemo {
    bool curveKnown = false;
    bool curveUpper = false;
    FloatLanes curveInput{};
    FloatLanes curveOutput{};
    bool coefficientsKnown = false;
    bool coefficientsUpper = false;
    FloatLanes frequency{};
    FloatLanes resonance{};
    FloatLanes b0{};
    FloatLanes b1{};
    FloatLanes b2{};
    FloatLanes a1{};
    FloatLanes a2{};
};

// Four BiquadTweakedButterworthHP<float, FastCurveMaths> side by side, each lane computing what
// that filter computes. A lane that is not active keeps its state, as a filter that is not run.
// The curve and the coefficients are pure functions of their inputs, so they are computed for
// every lane at once whenever one lane's inputs change.
class HighPassLanes {
public:
    using Scalar = BiquadTweakedButterworthHP<float, FastCurveMaths>;

    // upperLanes false: lanes 2 and 3 are not active and their coefficients are not needed.
    // kWide: compute in 256-bit registers (callers compiled for them); the same bits either way.
    template <bool kWide = false>
    [[gnu::always_inline]] void setControls(FloatLanes cutoff, FloatLanes resonance,
                                            IntLanes active, bool upperLanes = true) {
        HighPassLanesMemo& memo = memoInUse();
        const FloatLanes d = controlCurve<kWide>(memo, cutoff, upperLanes);
        FloatLanes fn = (d + lastCutoff) / 2.0f * Scalar::kDefaultMaxFrequency;
        fn = fn < Scalar::kDefaultMinFrequency ? broadcast(Scalar::kDefaultMinFrequency) : fn;
        if (!coefficientsCurrent || !sameBits(fn, frequency) || !sameBits(resonance, damping) ||
            (upperLanes && !coefficientsUpper)) {
            if (!memo.coefficientsKnown || !sameBits(fn, memo.frequency) ||
                !sameBits(resonance, memo.resonance) || (upperLanes && !memo.coefficientsUpper)) {
                updateCoefficients<kWide>(memo, fn, resonance, upperLanes);
            }
            b0 = memo.b0;
            b1 = memo.b1;
            b2 = memo.b2;
            a1 = memo.a1;
            a2 = memo.a2;
            coefficientsCurrent = true;
            coefficientsUpper = memo.coefficientsUpper;
            frequency = fn;
            damping = resonance;
        }
        lastCutoff = active ? d : lastCutoff;
    }

    [[gnu::always_inline]] FloatLanes run(FloatLanes x, IntLanes active) {
        const FloatLanes y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = active ? x1 : x2;
        x1 = active ? x : x1;
        y2 = active ? y1 : y2;
        y1 = active ? y : y1;
        return y;
    }

    // Clears the state and the own memo; a shared memo is kept (what it holds stays true).
    void reset() {
        HighPassLanesMemo* const shared = sharedMemo;
        *this = HighPassLanes{};
        sharedMemo = shared;
    }
    void shareDesignMemo(HighPassLanesMemo* memo) { sharedMemo = memo; }

private:
    HighPassLanesMemo& memoInUse() { return sharedMemo != nullptr ? *sharedMemo : ownMemo; }

    template <bool kWide>
    [[gnu::always_inline]] static FloatLanes controlCurve(HighPassLanesMemo& memo,
                                                          FloatLanes cutoff, bool upperLanes) {
        if (memo.curveKnown && sameBits(cutoff, memo.curveInput) &&
            (memo.curveUpper || !upperLanes)) {
            return memo.curveOutput;
        }
        const FloatLanes d =
            HighPassDesign::controlCurve(FastMath::exp<kWide>(5.0f * cutoff, upperLanes));
        memo.curveKnown = true;
        memo.curveUpper = upperLanes;
        memo.curveInput = cutoff;
        memo.curveOutput = d;
        return d;
    }

    template <bool kWide>
    [[gnu::always_inline]] static void updateCoefficients(HighPassLanesMemo& memo, FloatLanes fn,
                                                          FloatLanes resonance, bool upperLanes) {
        const FloatLanes warped =
            FastMath::tan<kWide>(HighPassDesign::prewarpAngle(fn), upperLanes);
        const HighPassCoefficients<FloatLanes> design =
            HighPassDesign::coefficients(warped, resonance);
        memo.b0 = design.b0;
        memo.b1 = design.b1;
        memo.b2 = design.b2;
        memo.a1 = design.a1;
        memo.a2 = design.a2;
        memo.coefficientsKnown = true;
        memo.coefficientsUpper = upperLanes;
        memo.frequency = fn;
        memo.resonance = resonance;
    }

    FloatLanes lastCutoff{};
    FloatLanes x1{};
    FloatLanes x2{};
    FloatLanes y1{};
    FloatLanes y2{};
    FloatLanes b0{};
    FloatLanes b1{};
    FloatLanes b2{};
    FloatLanes a1{};
    FloatLanes a2{};
    bool coefficientsCurrent = false;
    bool coefficientsUpper = false;
    FloatLanes frequency{};
    FloatLanes damping{};
    HighPassLanesMemo ownMemo;
    HighPassLanesMemo* sharedMemo = nullptr;
};

} // namespace Korvatune
