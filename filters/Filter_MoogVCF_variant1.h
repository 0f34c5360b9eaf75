#pragma once

#include <cstdint>

namespace Korvatune {

// Four-pole resonant ladder low-pass: four bilinear one-pole stages with global
// feedback and a soft cubic limiter on the last stage. Everything runs and is stored in single
// precision: T is float, or float lanes that run several independent ladders side by side with
// the same arithmetic in each lane. Cutoff and resonance are 0..1 controls and are not clamped.
template <typename T> class LadderFilter {
public:
    enum Mode : std::int32_t { kLowPass = 0, kHighPass = 1, kBandPass = 2 };

    LadderFilter() = default;
    virtual ~LadderFilter() = default;

    // One sample through the ladder; returns the output of the current mode.
    [[gnu::always_inline]] inline T process(T input, T cutoff, T resonance);

    // Clears every running value (f, p, k, b0..b4, t1, t2); keeps the mode.
    void reset() { f = p = k = b0 = b1 = b2 = b3 = b4 = t1 = t2 = T{}; }

    // The values a sample carries to the next: f, p, k, t1 and t2 are rebuilt from the controls
    // and these before they are read.
    struct Stages {
        T b0, b1, b2, b3, b4;
    };
    Stages stages() const { return {b0, b1, b2, b3, b4}; }
    // Lanes only: takes back the stages of `earlier` in the lanes where `keep` is set, so those
    // lanes go on as if the sample had not run.
    template <class Mask> void keepStages(Mask keep, const Stages& earlier) {
        b0 = keep ? earlier.b0 : b0;
        b1 = keep ? earlier.b1 : b1;
        b2 = keep ? earlier.b2 : b2;
        b3 = keep ? earlier.b3 : b3;
        b4 = keep ? earlier.b4 : b4;
    }

    std::int32_t getMode() const { return mode; }
    void setMode(std::int32_t newMode) { mode = newMode; }

    // Read access to the state, for tests and diagnostics.
    T getFeedbackGain() const { return k; }
    T getStageInputCoefficient() const { return p; }
    T getStageFeedbackCoefficient() const { return f; }
    // 0 gives b0, 1..4 the stage outputs b1..b4
    T getStage(int index) const {
        const T stages[] = {b0, b1, b2, b3, b4};
        return index >= 0 && index <= 4 ? stages[index] : T{};
    }

private:
    std::int32_t mode = kLowPass;
    T f{};
    T p{};
    T k{};
    T b0{};
    T b1{};
    T b2{};
    T b3{};
    T b4{};
    T t1{};
    T t2{};
};

using Filter_MoogVCF_variant1 = LadderFilter<float>;

template <typename T> inline T LadderFilter<T>::process(T input, T cutoff, T resonance) {
    T x = input;
    k = 1.0f - cutoff;              // q
    p = cutoff + 0.8f * cutoff * k; // stage input weight
    f = p + p - 1.0f;               // stage feedback weight
    k = resonance * (1.0f + 0.5f * k * (1.0f - k + 5.6f * k * k));
    x -= k * b4;
    t1 = b1;
    b1 = (x + b0) * p - b1 * f;
    t2 = b2;
    b2 = (b1 + t1) * p - b2 * f;
    t1 = b3;
    b3 = (b2 + t2) * p - b3 * f;
    b4 = (b3 + t1) * p - b4 * f;
    b4 = b4 - b4 * b4 * b4 * 0.166667f;
    b0 = x;
    switch (mode) {
    case kHighPass:
        return x - b4;
    case kBandPass:
        return 3.0f * (b3 - b4);
    default:
        return b4;
    }
}

} // namespace Korvatune
