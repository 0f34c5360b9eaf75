#pragma once

#include <cmath>

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

// Maps a 0..1 control onto 0..~0.99326 with an exponential rise, for filter frequencies.
inline float expCurve(float x) {
    return (std::exp(5.0f * x) - 1.0f) / std::exp(5.0f);
}

} // namespace Korvatune
