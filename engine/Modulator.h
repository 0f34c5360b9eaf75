#pragma once

#include <cstdint>

namespace Korvatune {

class IAudioEffect;

// Slow sine (rate times 5 Hz) that restarts with every note, one per oscillator. Its value is
// in -0.5..0.5, or exactly 1 while inactive (no owner, or rate 0), which leaves whatever it
// scales unchanged.
class Modulator {
public:
    Modulator() = default;
    virtual ~Modulator() = default;

    float value() const { return valueAtRate(rate); }
    // What the modulator would give at another rate with the same counter; the voice's
    // frequency modulation reads oscillator 1's modulator this way.
    float valueAtRate(float rateValue) const;

    void setRate(float value) { rate = value; }
    float getRate() const { return rate; }
    void setOwner(IAudioEffect* audioEffect) { owner = audioEffect; }
    void setSampleRate(float hertz) { sampleRate = hertz; }

    void restart() { counter = 0; }
    void advance() { ++counter; }
    std::uint32_t getCounter() const { return counter; }

private:
    static constexpr float kDepth = 5.0f;

    std::uint32_t counter = 0;
    IAudioEffect* owner = nullptr;
    float sampleRate = 44100.0f;
    float rate = 0.1f;
};

} // namespace Korvatune
