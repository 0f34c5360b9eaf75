#pragma once

#include "engine/StereoSample.h"

#include <atomic>
#include <cstdint>

namespace Korvatune {

class IAudioEffect;

// Audio-rate ring modulation of the summed voices by a full-wave rectified sine of up to
// 2000 Hz, mixed with the dry signal. Its clock runs from construction and is never restarted.
// Amount and frequency are written by the parameter thread while the audio thread renders.
class RingModulator {
public:
    // Carrier frequency at a frequency value of 1, in Hz.
    static constexpr float kRateRange = 2000.0f;

    RingModulator() = default;
    virtual ~RingModulator() = default;
    RingModulator(const RingModulator&) = delete;
    RingModulator& operator=(const RingModulator&) = delete;

    // Both channels at the current clock; passes the frame when inactive (no owner, frequency
    // or amount 0).
    StereoSample process(StereoSample frame) const;
    // process and advance over a block, with the amount and frequency read once for it.
    void processBlock(float* left, float* right, std::int32_t frames);
    // One sample frame later, or `frames` later.
    void advance(std::uint32_t frames = 1) { counter += frames; }

    void setAmount(float value) { amount.store(value, std::memory_order_relaxed); }
    void setFrequency(float value) { frequency.store(value, std::memory_order_relaxed); }
    float getAmount() const { return amount.load(std::memory_order_relaxed); }
    float getFrequency() const { return frequency.load(std::memory_order_relaxed); }
    void setSampleRate(float hertz) { sampleRate = hertz; }
    void setOwner(IAudioEffect* audioEffect) { owner = audioEffect; }
    std::uint32_t getCounter() const { return counter; }

private:
    float sampleRate = 44100.0f;
    std::uint32_t counter = 0;
    std::atomic<float> frequency{0.1f};
    std::atomic<float> amount{0.0f};
    IAudioEffect* owner = nullptr;
};

} // namespace Korvatune
