#pragma once

#include "engine/VoiceFrameSettings.h"
#include "waveforms/WaveformProvider.h"

#include <array>
#include <cstdint>

namespace Korvatune {

// The arctangent of saturation for every entry of the tables the oscillators read, so that
// voices look it up instead of computing it each sample: entry i of a curve is
// saturationArc(x) for x the table's entry i, folded when the oscillator inverts,
// the same bits the per-sample path computes. One curve per oscillator, recomputed only when
// its table, its inversion or the provider's tables changed. Audio thread only.
class SaturationCurves {
public:
    // Points the saturated oscillators of settings to their curves and marks the settings
    // ready for lookups; tablesRevision is the provider's, read when the settings were made.
    void attach(VoiceFrameSettings& settings, std::uint32_t tablesRevision);

private:
    struct Curve {
        bool known = false;
        const float* table = nullptr;
        bool inverted = false;
        std::uint32_t revision = 0;
        std::array<float, WaveformProvider::kTableSize> values{};
    };

    const float* curveFor(Curve& curve, const float* table, bool inverted, std::uint32_t revision);

    std::array<Curve, 3> curves;
};

} // namespace Korvatune
