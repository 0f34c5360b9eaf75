#include "engine/RingModulator.h"

#include "engine/PeriodicSine.h"

#include <cmath>

namespace Korvatune {

namespace {

constexpr double kTwoPi = 6.2831855f;

float mix(float x, float carrier, float wet) {
    return (1.0f - wet) * x + carrier * (wet * x);
}

} // namespace

StereoSample RingModulator::process(StereoSample frame) const {
    const float carrierFrequency = getFrequency();
    const float wet = getAmount();
    if (carrierFrequency == 0.0f || wet == 0.0f || owner == nullptr) {
        return frame;
    }
    const double seconds = static_cast<double>(counter) / static_cast<double>(sampleRate);
    const double hertz = static_cast<double>(carrierFrequency) * static_cast<double>(kRateRange);
    const float carrier = std::fabs(periodicSine(seconds * kTwoPi * hertz));
    return {mix(frame.left, carrier, wet), mix(frame.right, carrier, wet)};
}

} // namespace Korvatune
