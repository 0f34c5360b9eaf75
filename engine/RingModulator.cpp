#include "engine/RingModulator.h"

#include "engine/PeriodicSine.h"

#include <cmath>

namespace Korvatune {

namespace {

constexpr double kTwoPi = 6.2831855f;

float mix(float x, float carrier, float wet) {
    return (1.0f - wet) * x + carrier * (wet * x);
}

float carrierAt(std::uint32_t clock, float sampleRate, float carrierFrequency) {
    const double seconds = static_cast<double>(clock) / static_cast<double>(sampleRate);
    const double hertz =
        static_cast<double>(carrierFrequency) * static_cast<double>(RingModulator::kRateRange);
    return std::fabs(periodicSine(seconds * kTwoPi * hertz));
}

} // namespace

StereoSample RingModulator::process(StereoSample frame) const {
    const float carrierFrequency = getFrequency();
    const float wet = getAmount();
    if (carrierFrequency == 0.0f || wet == 0.0f || owner == nullptr) {
        return frame;
    }
    const float carrier = carrierAt(counter, sampleRate, carrierFrequency);
    return {mix(frame.left, carrier, wet), mix(frame.right, carrier, wet)};
}

void RingModulator::processBlock(float* left, float* right, std::int32_t frames) {
    const float carrierFrequency = getFrequency();
    const float wet = getAmount();
    if (carrierFrequency == 0.0f || wet == 0.0f || owner == nullptr) {
        advance(static_cast<std::uint32_t>(frames));
        return;
    }
    for (std::int32_t i = 0; i < frames; ++i) {
        const float carrier = carrierAt(counter, sampleRate, carrierFrequency);
        left[i] = mix(left[i], carrier, wet);
        right[i] = mix(right[i], carrier, wet);
        advance();
    }
}

} // namespace Korvatune
