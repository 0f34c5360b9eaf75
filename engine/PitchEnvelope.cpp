#include "engine/PitchEnvelope.h"

#include "maths/LaneMath.h"

namespace Korvatune {

float PitchEnvelope::valueOf(const Shape& shape, float t) {
    const float fullScale = shape.scale * shape.amount;
    if (kAttackTime > t) {
        return fullScale * (t / kAttackTime);
    }
    const float fallTime = shape.duration;
    if (t < kAttackTime + fallTime) {
        const float remaining = 1.0f - (t - kAttackTime) / fallTime;
        const float exponent = kPowerRange * shape.power;
        const float shaped =
            FastMath::unitPower(static_cast<double>(remaining), static_cast<double>(exponent));
        return shaped * fullScale;
    }
    return 0.0f;
}

template <bool kWide>
[[gnu::always_inline]] inline FloatLanes PitchEnvelope::valuesWith(const Shape& shape,
                                                                   FloatLanes t) {
    const float fullScale = shape.scale * shape.amount;
    const FloatLanes rising = fullScale * (t / kAttackTime);
    const float fallTime = shape.duration;
    const IntLanes rise = kAttackTime > t;
    const IntLanes fall = ~rise & (t < kAttackTime + fallTime);
    // Most of a note's life lies past its sweep, where the power curve is not needed.
    FloatLanes falling = broadcast(0.0f);
    if (anyLane(fall)) {
        const FloatLanes remaining = 1.0f - (t - kAttackTime) / fallTime;
        falling = FastMath::unitPower<kWide>(remaining, kPowerRange * shape.power) * fullScale;
    }
    return rise ? rising : (fall ? falling : broadcast(0.0f));
}

FloatLanes PitchEnvelope::valuesOf(const Shape& shape, FloatLanes t, bool wide) {
#if KORVATUNE_WIDE_LANES
    if (wide) {
        return valuesWide(shape, t);
    }
#endif
    (void)wide;
    return valuesNarrow(shape, t);
}

FloatLanes PitchEnvelope::valuesNarrow(const Shape& shape, FloatLanes t) {
    return valuesWith<false>(shape, t);
}

#if KORVATUNE_WIDE_LANES
[[gnu::target("avx2")]] FloatLanes PitchEnvelope::valuesWide(const Shape& shape, FloatLanes t) {
    return valuesWith<true>(shape, t);
}
#endif

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
