#pragma once

#include <cstdint>

namespace Korvatune {

class IAudioEffect;

// A modulator's last sine and what it was computed from. The sine is a pure function of these
// keys, so the same modulator of voices struck together may share one memo.
struct ModulatorMemo {
    bool known = false;
    std::uint32_t counter = 0;
    float rate = 0.0f;
    float sampleRate = 0.0f;
    float value = 0.0f;
};

// Slow sine (rate times 5 Hz) that restarts with every note, one per oscillator. Its value is
// in -0.5..0.5, or exactly 1 while inactive (no owner, or rate 0), which leaves whatever it
// scales unchanged.
class Modulator {
public:
    Modulator() = default;
    virtual ~Modulator() = default;

    float value() { return valueAtRate(rate); }
    // What the modulator would give at another rate with the same counter; the voice's
    // frequency modulation reads oscillator 1's modulator this way. The last result is kept, so
    // asking again with the same counter, rate and sample rate costs no sine.
    float valueAtRate(float rateValue);
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

    float sineAt(float rateValue) const;

    std::uint32_t counter = 0;
    IAudioEffect* owner = nullptr;
    float sampleRate = 44100.0f;
    float rate = 0.1f;
    ModulatorMemo ownMemo;
    ModulatorMemo* sharedMemo = nullptr;
};

} // namespace Korvatune
