#pragma once

#include "maths/Lanes.h"

#include <atomic>
#include <span>

namespace Korvatune {

// The kick's pitch sweep, shared by every voice: a frequency offset in table steps per sample
// that rises over the first 7 ms of a note and then falls to zero along a power curve. The
// shape is set from the parameter thread while voices evaluate it, hence the atomics.
class PitchEnvelope {
public:
    static constexpr int kDisplayPoints = 78;

    PitchEnvelope() = default;
    virtual ~PitchEnvelope() = default;
    PitchEnvelope(const PitchEnvelope&) = delete;
    PitchEnvelope& operator=(const PitchEnvelope&) = delete;

    // The parameters the sweep is computed from.
    struct Shape {
        float scale;
        float amount;
        float duration;
        float power;
    };

    // Offset at t seconds after the note started.
    float value(float t) const { return valueOf(shape(), t); }
    Shape shape() const { return {getScale(), getAmount(), getDuration(), getPower()}; }
    static float valueOf(const Shape& shape, float t);
    // valueOf lane by lane; wide: in 256-bit registers (wideLanesAvailable() must hold), the
    // same bits.
    static FloatLanes valuesOf(const Shape& shape, FloatLanes t, bool wide = false);

    // Keeps the offset in Hz independent of the rate.
    void setSampleRate(float rate);
    float getSampleRate() const { return sampleRate.load(std::memory_order_relaxed); }
    float getScale() const { return scale.load(std::memory_order_relaxed); }

    // Raw 0..1 parameter values, unmapped: fall time in seconds, full-scale fraction, exponent
    // fraction of powerRange.
    void setDuration(float seconds) { duration.store(seconds, std::memory_order_relaxed); }
    void setAmount(float value) { amount.store(value, std::memory_order_relaxed); }
    void setPower(float value) { power.store(value, std::memory_order_relaxed); }
    float getDuration() const { return duration.load(std::memory_order_relaxed); }
    float getAmount() const { return amount.load(std::memory_order_relaxed); }
    float getPower() const { return power.load(std::memory_order_relaxed); }

    // The first second sampled every 1/78 s, in units of the full scale.
    void fillDisplayCurve(std::span<float, kDisplayPoints> points) const;

private:
    template <bool kWide> static FloatLanes valuesWith(const Shape& shape, FloatLanes t);
    static FloatLanes valuesNarrow(const Shape& shape, FloatLanes t);
    static FloatLanes valuesWide(const Shape& shape, FloatLanes t);

    static constexpr float kAttackTime = 0.007f;
    static constexpr float kBaseScale = 100.0f;
    static constexpr float kPowerRange = 20.0f;
    static constexpr double kReferenceRate = 44100.0;

    std::atomic<float> sampleRate{44100.0f};
    std::atomic<float> duration{0.5f};
    std::atomic<float> amount{0.0f};
    std::atomic<float> scale{kBaseScale};
    std::atomic<float> power{0.0f};
};

} // namespace Korvatune
