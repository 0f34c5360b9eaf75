#include "engine/PitchEnvelope.h"

#include "maths/FastMath.h"

namespace Korvatune {

float PitchEnvelope::value(float t) const {
    const float fullScale = getScale() * getAmount();
    if (kAttackTime > t) {
        return fullScale * (t / kAttackTime);
    }
    const float fallTime = getDuration();
    if (t < kAttackTime + fallTime) {
        const float remaining = 1.0f - (t - kAttackTime) / fallTime;
        const float exponent = kPowerRange * getPower();
        const float shaped =
            FastMath::unitPower(static_cast<double>(remaining), static_cast<double>(exponent));
        return shaped * fullScale;
    }
    return 0.0f;
}

void PitchEnvelope::setSampleRate(float rate) {
    sampleRate.store(rate, std::memory_order_relaxed);
    const double rateRatio = kReferenceRate / static_cast<double>(rate);
    scale.store(static_cast<float>(rateRatio * static_cast<double>(kBaseScale)),
                std::memory_order_relaxed);
}

void PitchEnvelope::fillDisplayCurve(std::span<float, kDisplayPoints> points) const {
    const float fullScale = getScale();
    for (int i = 0; i < kDisplayPoints; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(kDisplayPoints);
        points[static_cast<std::size_t>(i)] = value(t) / fullScale;
    }
}

} // namespace Korvatune
