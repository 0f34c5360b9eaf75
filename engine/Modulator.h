#pragma once

#include "maths/LaneMath.h"

#include <array>
#include <bit>
#include <cstdint>

namespace Korvatune {

class IAudioEffect;

// A modulator's sines over a run of consecutive clocks and what they were computed from. The
// sines are a pure function of these keys, so the modulators of voices struck together may
// share a run.
struct ModulatorMemo {
    static constexpr int kRunLength = 32;

    bool known = false;
    std::uint32_t firstCounter = 0;
    std::uint32_t length = 0;
    FloatLanes rates{};
    float sampleRate = 0.0f;
    // Whether lanes 2 and 3 were computed.
    bool upperLanes = false;
    // Whether lanes 0 and 1 both rest (rate 0): asked for those alone, the modulator is at rest.
    bool lowerResting = false;
    // What the modulator gives: the sine, or 1 in a resting lane.
    std::array<FloatLanes, kRunLength> values{};

    // Bit patterns, not float equality: a NaN key then still matches itself.
    [[gnu::always_inline]] bool sameKeys(FloatLanes rateKeys, float rate, bool upper) const {
        return known && sameBits(rateKeys, rates) &&
               std::bit_cast<std::uint32_t>(rate) == std::bit_cast<std::uint32_t>(sampleRate) &&
               (upperLanes || !upper);
    }
    [[gnu::always_inline]] bool covers(std::uint32_t counter, FloatLanes rateKeys, float rate,
                                       bool upper) const {
        return counter - firstCounter < length && sameKeys(rateKeys, rate, upper);
    }
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
    // and 1 are computed. kWide: compute in 256-bit registers (callers compiled for them); the
    // same bits either way.
    template <bool kWide = false>
    [[gnu::always_inline]] FloatLanes valuesAtRates(FloatLanes rates, bool upperLanes = true) {
        return valuesAhead<kWide>(0, rates, upperLanes);
    }
    // The same, `ahead` clocks later (below ModulatorMemo::kRunLength). While the rates and the
    // sample rate stay, the sines of a run of clocks are computed in one go: independent of
    // each other, they then overlap in the processor instead of each waiting on the voice's
    // work around it.
    template <bool kWide = false>
    [[gnu::always_inline]] FloatLanes valuesAhead(std::uint32_t ahead, FloatLanes rates,
                                                  bool upperLanes) {
        const std::uint32_t clock = counter + ahead;
        if (owner != nullptr && ownRun.covers(clock, rates, sampleRate, upperLanes)) {
            return !upperLanes && ownRun.lowerResting ? broadcast(1.0f)
                                                      : ownRun.values[clock - ownRun.firstCounter];
        }
        // Rate 0 gives exactly 1, so a modulator at rest on every lane asked for needs no sine.
        const IntLanes unasked = upperLanes ? IntLanes{} : IntLanes{0, 0, -1, -1};
        if (owner == nullptr || allLanes((rates == 0.0f) | unasked)) {
            return broadcast(1.0f);
        }
        if constexpr (kWide) {
            refillWide(clock, rates, upperLanes);
        } else {
            refillNarrow(clock, rates, upperLanes);
        }
        return ownRun.values[clock - ownRun.firstCounter];
    }
    float value() { return valueAtRate(rate); }
    float valueAtRate(float rateValue) { return valuesAtRates(broadcast(rateValue), false)[0]; }
    // Shares runs through a memo from outside (null: no sharing).
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

    // A run from the current clock, which covers `clock`: a full one when only the clock left the
    // last run or later clocks are asked for, the current clock alone when a key changed (a knob
    // being turned would waste the rest).
    // Out of line: once in many frames, it would only crowd the voice's code.
    [[gnu::noinline]] void refillNarrow(std::uint32_t clock, FloatLanes rates, bool upperLanes) {
        refill<false>(clock, rates, upperLanes);
    }
#if KORVATUNE_WIDE_LANES
    [[gnu::noinline, gnu::target("avx2")]] void refillWide(std::uint32_t clock, FloatLanes rates,
                                                           bool upperLanes) {
        refill<true>(clock, rates, upperLanes);
    }
#else
    void refillWide(std::uint32_t clock, FloatLanes rates, bool upperLanes) {
        refill<false>(clock, rates, upperLanes);
    }
#endif

    template <bool kWide>
    [[gnu::always_inline]] void refill(std::uint32_t clock, FloatLanes rates, bool upperLanes) {
        if (sharedMemo != nullptr && sharedMemo->covers(clock, rates, sampleRate, upperLanes)) {
            ownRun = *sharedMemo;
            return;
        }
        const bool steady = ownRun.sameKeys(rates, sampleRate, upperLanes) || clock != counter;
        ownRun.known = true;
        ownRun.firstCounter = counter;
        ownRun.length = steady ? ModulatorMemo::kRunLength : 1;
        ownRun.rates = rates;
        ownRun.sampleRate = sampleRate;
        ownRun.upperLanes = upperLanes;
        ownRun.lowerResting = rates[0] == 0.0f && rates[1] == 0.0f;
        const IntLanes resting = rates == 0.0f;
        for (std::uint32_t i = 0; i < ownRun.length; ++i) {
            const FloatLanes sines = sinesAt<kWide>(counter + i, rates, upperLanes);
            ownRun.values[i] = resting ? broadcast(1.0f) : sines;
        }
        if (sharedMemo != nullptr) {
            *sharedMemo = ownRun;
        }
    }

    template <bool kWide>
    [[gnu::always_inline]] FloatLanes sinesAt(std::uint32_t clock, FloatLanes rates,
                                              bool upperLanes) const {
        const double seconds = static_cast<double>(clock) / static_cast<double>(sampleRate);
        return FastMath::periodicSine<kWide>(rates, Phase{seconds}, upperLanes) * 0.5f;
    }

    std::uint32_t counter = 0;
    IAudioEffect* owner = nullptr;
    float sampleRate = 44100.0f;
    float rate = 0.1f;
    ModulatorMemo ownRun;
    ModulatorMemo* sharedMemo = nullptr;
};

} // namespace Korvatune
