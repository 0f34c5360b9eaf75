#pragma once

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

namespace Korvatune {

// A NaN that reaches a host's mix bus silences every track after it, so the last stages of the
// audio path check their output. The check reads exponent bits with an integer maximum, which
// vectorises, and only a block that fails it is walked sample by sample.
inline bool allFinite(const float* samples, int count) {
    constexpr std::uint32_t kExponentBits = 0x7F800000u;
    std::uint32_t highestExponent = 0;
    for (int i = 0; i < count; ++i) {
        highestExponent =
            std::max(highestExponent, std::bit_cast<std::uint32_t>(samples[i]) & kExponentBits);
    }
    return highestExponent != kExponentBits;
}

// Writes every non-finite sample as 0; true when there was one.
inline bool scrubNonFinite(float* samples, int count) {
    if (allFinite(samples, count)) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        if (!std::isfinite(samples[i])) {
            samples[i] = 0.0f;
        }
    }
    return true;
}

} // namespace Korvatune
