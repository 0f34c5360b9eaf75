#pragma once

#include "filters/BiquadTweakedButterworthHP.h"
#include "maths/LaneMath.h"

#include <algorithm>
#include <array>
#include <cstdint>

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

// Curves and coefficients computed ahead for the cutoffs a filter expects over its next frames.
// Worked out together, they overlap in the processor instead of each waiting on the voice's work
// around it. An entry is taken only where its inputs match bit for bit, so a wrong forecast costs
// time, never a different sound.
struct HighPassPlan {
    static constexpr std::uint32_t kMaxLength = 32;

    std::uint32_t firstFrame = 0;
    std::uint32_t length = 0;
    bool upper = false;
    FloatLanes resonance{};
    std::array<FloatLanes, kMaxLength> cutoff{};
    std::array<FloatLanes, kMaxLength> curve{};
    std::array<FloatLanes, kMaxLength> frequency{};
    std::array<HighPassCoefficients<FloatLanes>, kMaxLength> coefficients{};
};

// Four BiquadTweakedButterworthHP<float, FastCurveMaths> side by side, each lane computing what
// that filter computes. A lane that is not active keeps its state, as a filter that is not run.
// The curve and the coefficients are pure functions of their inputs, so they are computed for
// every lane at once whenever one lane's inputs change.
class HighPassLanes {
public:
    using Scalar = BiquadTweakedButterworthHP<float, FastCurveMaths>;

    // One frame's controls. upperLanes false: lanes 2 and 3 are not active and their
    // coefficients are not needed. `frame` counts this filter's frames; forecast(i) is the cutoff
    // expected i frames later (1 <= i < HighPassPlan::kMaxLength), with the other controls as
    // now. kWide: compute in 256-bit registers (callers compiled for them); the same bits either
    // way.
    template <bool kWide = false, class Forecast>
    [[gnu::always_inline]] void setControls(FloatLanes cutoff, FloatLanes resonance,
                                            IntLanes active, bool upperLanes, std::uint32_t frame,
                                            const Forecast& forecast) {
        HighPassLanesMemo& memo = memoInUse();
        if (!curveKnown(memo, cutoff, upperLanes)) {
            takeCurve<kWide>(memo, cutoff, resonance, active, upperLanes, frame, forecast);
        }
        const FloatLanes d = memo.curveOutput;
        FloatLanes fn = (d + lastCutoff) / 2.0f * Scalar::kDefaultMaxFrequency;
        fn = fn < Scalar::kDefaultMinFrequency ? broadcast(Scalar::kDefaultMinFrequency) : fn;
        if (!coefficientsCurrent || !sameBits(fn, frequency) || !sameBits(resonance, damping) ||
            (upperLanes && !coefficientsUpper)) {
            if (!memo.coefficientsKnown || !sameBits(fn, memo.frequency) ||
                !sameBits(resonance, memo.resonance) || (upperLanes && !memo.coefficientsUpper)) {
                takeCoefficients<kWide>(memo, fn, resonance, upperLanes, frame);
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

    static bool curveKnown(const HighPassLanesMemo& memo, FloatLanes cutoff, bool upperLanes) {
        return memo.curveKnown && sameBits(cutoff, memo.curveInput) &&
               (memo.curveUpper || !upperLanes);
    }

    template <bool kWide, class Forecast>
    [[gnu::always_inline]] void takeCurve(HighPassLanesMemo& memo, FloatLanes cutoff,
                                          FloatLanes resonance, IntLanes active, bool upperLanes,
                                          std::uint32_t frame, const Forecast& forecast) {
        std::uint32_t index = frame - plan.firstFrame;
        const bool planned = index < plan.length && (plan.upper || !upperLanes);
        if (!planned || !sameBits(cutoff, plan.cutoff[index])) {
            // After a wrong forecast, a plan of this frame alone, then twice as long each time.
            const std::uint32_t length = planned ? 1 : nextPlanLength();
            if constexpr (kWide) {
                makePlanWide(length, cutoff, resonance, active, upperLanes, frame, forecast);
            } else {
                makePlanNarrow(length, cutoff, resonance, active, upperLanes, frame, forecast);
            }
            index = 0;
        }
        memo.curveKnown = true;
        memo.curveUpper = plan.upper;
        memo.curveInput = cutoff;
        memo.curveOutput = plan.curve[index];
    }

    std::uint32_t nextPlanLength() const {
        return plan.length == 0 ? HighPassPlan::kMaxLength
                                : std::min(2 * plan.length, HighPassPlan::kMaxLength);
    }

    template <bool kWide>
    [[gnu::always_inline]] void takeCoefficients(HighPassLanesMemo& memo, FloatLanes fn,
                                                 FloatLanes resonance, bool upperLanes,
                                                 std::uint32_t frame) {
        const std::uint32_t index = frame - plan.firstFrame;
        if (index < plan.length && (plan.upper || !upperLanes) &&
            sameBits(fn, plan.frequency[index]) && sameBits(resonance, plan.resonance)) {
            keepCoefficients(memo, plan.coefficients[index], fn, resonance, plan.upper);
        } else {
            keepCoefficients(memo, design<kWide>(fn, resonance, upperLanes), fn, resonance,
                             upperLanes);
        }
    }

    // Out of line: once in many frames, it would only crowd the voice's code.
    template <class Forecast>
    [[gnu::noinline]] void makePlanNarrow(std::uint32_t length, FloatLanes cutoff,
                                          FloatLanes resonance, IntLanes active, bool upperLanes,
                                          std::uint32_t frame, const Forecast& forecast) {
        makePlan<false>(length, cutoff, resonance, active, upperLanes, frame, forecast);
    }
#if KORVATUNE_WIDE_LANES
    template <class Forecast>
    [[gnu::noinline, gnu::target("avx2")]] void
    makePlanWide(std::uint32_t length, FloatLanes cutoff, FloatLanes resonance, IntLanes active,
                 bool upperLanes, std::uint32_t frame, const Forecast& forecast) {
        makePlan<true>(length, cutoff, resonance, active, upperLanes, frame, forecast);
    }
#else
    template <class Forecast>
    void makePlanWide(std::uint32_t length, FloatLanes cutoff, FloatLanes resonance,
                      IntLanes active, bool upperLanes, std::uint32_t frame,
                      const Forecast& forecast) {
        makePlanNarrow(length, cutoff, resonance, active, upperLanes, frame, forecast);
    }
#endif

    // The first entry is this frame's; the rest follow the forecast with the lanes, the
    // resonance and the upper lanes as they are now.
    template <bool kWide, class Forecast>
    [[gnu::always_inline]] void makePlan(std::uint32_t length, FloatLanes cutoff,
                                         FloatLanes resonance, IntLanes active, bool upperLanes,
                                         std::uint32_t frame, const Forecast& forecast) {
        plan.firstFrame = frame;
        plan.length = length;
        plan.upper = upperLanes;
        plan.resonance = resonance;
        plan.cutoff[0] = cutoff;
        for (std::uint32_t i = 1; i < length; ++i) {
            plan.cutoff[i] = forecast(i);
        }
        for (std::uint32_t i = 0; i < length; ++i) {
            plan.curve[i] = HighPassDesign::controlCurve(
                FastMath::exp<kWide>(5.0f * plan.cutoff[i], upperLanes));
        }
        FloatLanes last = lastCutoff;
        for (std::uint32_t i = 0; i < length; ++i) {
            FloatLanes fn = (plan.curve[i] + last) / 2.0f * Scalar::kDefaultMaxFrequency;
            fn = fn < Scalar::kDefaultMinFrequency ? broadcast(Scalar::kDefaultMinFrequency) : fn;
            plan.frequency[i] = fn;
            last = active ? plan.curve[i] : last;
        }
        for (std::uint32_t i = 0; i < length; ++i) {
            plan.coefficients[i] = design<kWide>(plan.frequency[i], resonance, upperLanes);
        }
    }

    template <bool kWide>
    [[gnu::always_inline]] static HighPassCoefficients<FloatLanes>
    design(FloatLanes fn, FloatLanes resonance, bool upperLanes) {
        const FloatLanes warped =
            FastMath::tan<kWide>(HighPassDesign::prewarpAngle(fn), upperLanes);
        return HighPassDesign::coefficients(warped, resonance);
    }

    static void keepCoefficients(HighPassLanesMemo& memo,
                                 const HighPassCoefficients<FloatLanes>& design, FloatLanes fn,
                                 FloatLanes resonance, bool upperLanes) {
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
    HighPassPlan plan;
};

} // namespace Korvatune
