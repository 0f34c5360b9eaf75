#pragma once

#include "maths/FastMath.h"
#include "maths/PreciseExponential.h"

namespace Korvatune {

// Folds a sample towards the opposite rail: x > 0 gives 1 - x, x < 0 gives -1 - x, 0 stays 0.
inline float invertSample(float x) {
    if (x > 0.0f) {
        return 1.0f - x;
    }
    if (x < 0.0f) {
        return -1.0f - x;
    }
    return x;
}

// Lowers to high first, then raises to low (so a NaN passes through unchanged).
inline float clampValue(float x, float low, float high) {
    if (x > high) {
        x = high;
    }
    if (x < low) {
        x = low;
    }
    return x;
}

// atan(1) rounded to float: the scale of saturate's arctangent.
inline constexpr float kArctangentOfOne = 0.785398185f;

// The arctangent part of saturate, scaled so that x = 1 gives 1.
inline float saturationArc(float x) {
    return FastMath::atan(x) / kArctangentOfOne;
}

// Soft clips through an arctangent whose gain grows with amount; amount 0 leaves x untouched.
// Small nonzero amounts are raised so that a full-scale input still comes out at about 1.
inline float saturate(float x, float amount) {
    if (amount == 0.0f) {
        return x;
    }
    if (static_cast<double>(amount) < 0.09279019767613905) {
        amount = 0.0927902f;
    }
    const float shaped = saturationArc(x) * amount * 10.777f;
    return clampValue(shaped, -1.0f, 1.0f);
}

// Maps a 0..1 control onto 0..~0.99326 with an exponential rise, for filter frequencies.
inline float expCurve(float x) {
    return (PreciseMath::exp(5.0f * x) - 1.0f) / PreciseMath::exp(5.0f);
}

} // namespace Korvatune
