#pragma once

#include "maths/LaneMath.h"

#include <bit>

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
    // kWide: compute in 256-bit registers (callers compiled for them); the same bits either way.
    template <bool kWide = false>
    [[gnu::always_inline]] FloatLanes valuesAtRates(FloatLanes rates, bool upperLanes = true) {
        // Rate 0 gives exactly 1, so a modulator at rest on every lane asked for needs no sine.
        const IntLanes unasked = upperLanes ? IntLanes{} : IntLanes{0, 0, -1, -1};
        if (owner == nullptr || allLanes((rates == 0.0f) | unasked)) {
            return broadcast(1.0f);
        }
        ModulatorMemo& memo = sharedMemo != nullptr ? *sharedMemo : ownMemo;
        // Bit patterns, not float equality: a NaN key then still matches itself.
        if (!memo.known || counter != memo.counter || !sameBits(rates, memo.rates) ||
            std::bit_cast<std::uint32_t>(sampleRate) !=
                std::bit_cast<std::uint32_t>(memo.sampleRate) ||
            (upperLanes && !memo.upperLanes)) {
            memo = {true,       counter,    rates,
                    sampleRate, upperLanes, sinesAt<kWide>(rates, upperLanes)};
        }
        return rates == 0.0f ? broadcast(1.0f) : memo.values;
    }
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

    // The phase at the clock for a rate per lane, in double precision.
    struct Phase {
        double seconds;
        template <class V> [[gnu::always_inline]] V operator()(V rates) const {
            constexpr double kTwoPi = 6.2831855f;
            constexpr double kPi = 3.1415927f;
            const V cyclesPerSecond = rates * static_cast<double>(kDepth);
            const V startPhase = rates * kPi * static_cast<double>(kDepth);
            return seconds * kTwoPi * cyclesPerSecond + startPhase;
        }
    };

    template <bool kWide>
    [[gnu::always_inline]] FloatLanes sinesAt(FloatLanes rates, bool upperLanes) const {
        const double seconds = static_cast<double>(counter) / static_cast<double>(sampleRate);
        return FastMath::periodicSine<kWide>(rates, Phase{seconds}, upperLanes) * 0.5f;
    }

    std::uint32_t counter = 0;
    IAudioEffect* owner = nullptr;
    float sampleRate = 44100.0f;
    float rate = 0.1f;
    ModulatorMemo ownMemo;
    ModulatorMemo* sharedMemo = nullptr;
};

} // namespace Korvatune
