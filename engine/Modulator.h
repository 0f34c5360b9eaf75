#pragma once

#include "maths/Lanes.h"

#include <cstdint>

namespace Korvatune {

class IAudioEffect;

// A modulator's last sines and what they were computed from. The sines are a pure function of
// these keys, so the modulators of voices struck together may share one memo.
struct ModulatorMemo {
    bool known = false;
    std::uint32_t counter = 0;
    FloatLanes rates{};
    float sampleRate = 0.0f;
    // Whether lanes 2 and 3 were computed.
    bool upperLanes = false;
    FloatLanes values{};
};

// Slow sine (rate times 5 Hz) that restarts with every note, one per oscillator; a voice's
// oscillators share one clock, so one modulator serves them all, a rate per lane. Its value is
// in -0.5..0.5, or exactly 1 while inactive (no owner, or rate 0), which leaves whatever it
// scales unchanged.
class Modulator {
public:
    Modulator() = default;
    virtual ~Modulator() = default;

    // The sines at the current clock for a rate per lane; without the upper lanes only lanes 0
    // and 1 are computed. The last result is kept, so asking again with the same clock, rates
    // and sample rate costs no sine.
    FloatLanes valuesAtRates(FloatLanes rates, bool upperLanes = true);
    float value() { return valueAtRate(rate); }
    float valueAtRate(float rateValue) { return valuesAtRates(broadcast(rateValue), false)[0]; }
    // Keeps the last result in a memo from outside (null returns to the modulator's own).
    void shareMemo(ModulatorMemo* memo) { sharedMemo = memo; }

    void setRate(float value) { rate = value; }
    float getRate() const { return rate; }
    void setOwner(IAudioEffect* audioEffect) { owner = audioEffect; }
    void setSampleRate(float hertz) { sampleRate = hertz; }

    void restart() { counter = 0; }
    void advance() { ++counter; }
    std::uint32_t getCounter() const { return counter; }

private:
    static constexpr float kDepth = 5.0f;

    FloatLanes sinesAt(FloatLanes rates, bool upperLanes) const;

    std::uint32_t counter = 0;
    IAudioEffect* owner = nullptr;
    float sampleRate = 44100.0f;
    float rate = 0.1f;
    ModulatorMemo ownMemo;
    ModulatorMemo* sharedMemo = nullptr;
};

} // namespace Korvatune
