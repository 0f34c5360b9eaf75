#pragma once

namespace Korvatune {

// The rates the instrument runs at. Far below them the pitch sweep and the filters leave the
// ranges they are built for, and no audio interface runs above them. Any other rate a host
// sends (0 while scanning, NaN, 1 Hz) is ignored: the previous one stays.
inline constexpr float kLowestSampleRate = 1000.0f;
inline constexpr float kHighestSampleRate = 1600000.0f;

// False for NaN as well.
inline bool isUsableSampleRate(float rate) {
    return rate >= kLowestSampleRate && rate <= kHighestSampleRate;
}

} // namespace Korvatune
