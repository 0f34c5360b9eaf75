#pragma once

#include <cstdint>

namespace Korvatune {

// Four-pole resonant ladder low-pass: four bilinear one-pole stages with global
// feedback and a soft cubic limiter on the last stage. Everything runs and is stored in single
// precision. Cutoff and resonance are 0..1 controls and are not clamped.
class Filter_MoogVCF_variant1 {
public:
    enum Mode : std::int32_t { kLowPass = 0, kHighPass = 1, kBandPass = 2 };

    Filter_MoogVCF_variant1() = default;
    virtual ~Filter_MoogVCF_variant1() = default;

    // One sample through the ladder; returns the output of the current mode.
    inline float process(float input, float cutoff, float resonance);

    // Clears every running value (f, p, k, b0..b4, t1, t2); keeps the mode.
    void reset();

    std::int32_t getMode() const { return mode; }
    void setMode(std::int32_t newMode) { mode = newMode; }

    // Read access to the state, for tests and diagnostics.
    float getFeedbackGain() const { return k; }
    float getStageInputCoefficient() const { return p; }
    float getStageFeedbackCoefficient() const { return f; }
    float getStage(int index) const; // 0 gives b0, 1..4 the stage outputs b1..b4

private:
    std::int32_t mode = kLowPass;
    float f = 0.0f;
    float p = 0.0f;
    float k = 0.0f;
    float b0 = 0.0f;
    float b1 = 0.0f;
    float b2 = 0.0f;
    float b3 = 0.0f;
    float b4 = 0.0f;
    float t1 = 0.0f;
    float t2 = 0.0f;
};

inline float Filter_MoogVCF_variant1::process(float input, float cutoff, float resonance) {
    float x = input;
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
