#pragma once

#include <cmath>

namespace Korvatune {

// One waveform cycle in table steps.
inline constexpr int kPhaseCycle = 4096;

// Keeps a phase within one cycle of zero. The remainder keeps the sign, so truncating toward
// zero and masking the low 12 bits picks the same table entry as the unreduced phase would,
// while the float keeps its fraction on long notes. A non-finite phase restarts at 0.
inline float wrapPhase(float phase) {
    constexpr auto cycle = static_cast<float>(kPhaseCycle);
    if (std::fabs(phase) < cycle) {
        return phase;
    }
    const float reduced = std::fmod(phase, cycle);
    return std::isnan(reduced) ? 0.0f : reduced;
}

// Table entry of a wrapped phase; negative phases wrap in two's complement.
inline int tableIndex(float wrappedPhase) {
    return static_cast<int>(wrappedPhase) & (kPhaseCycle - 1);
}

} // namespace Korvatune
