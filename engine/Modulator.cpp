#include "engine/Modulator.h"

#include "maths/LaneMath.h"

#include <bit>

namespace Korvatune {

namespace {

constexpr double kTwoPi = 6.2831855f;
constexpr double kPi = 3.1415927f;

} // namespace

FloatLanes Modulator::valuesAtRates(FloatLanes rates, bool upperLanes) {
    // Rate 0 gives exactly 1, so a modulator at rest on every lane asked for needs no sine.
    const IntLanes unasked = upperLanes ? IntLanes{} : IntLanes{0, 0, -1, -1};
    if (owner == nullptr || allLanes((rates == 0.0f) | unasked)) {
        return broadcast(1.0f);
    }
    ModulatorMemo& memo = sharedMemo != nullptr ? *sharedMemo : ownMemo;
    // Bit patterns, not float equality: a NaN key then still matches itself.
    if (!memo.known || counter != memo.counter || !sameBits(rates, memo.rates) ||
        std::bit_cast<std::uint32_t>(sampleRate) != std::bit_cast<std::uint32_t>(memo.sampleRate) ||
        (upperLanes && !memo.upperLanes)) {
        memo = {true, counter, rates, sampleRate, upperLanes, sinesAt(rates, upperLanes)};
    }
    return rates == 0.0f ? broadcast(1.0f) : memo.values;
}

FloatLanes Modulator::sinesAt(FloatLanes rates, bool upperLanes) const {
    const double seconds = static_cast<double>(counter) / static_cast<double>(sampleRate);
    const FloatLanes sines = FastMath::periodicSine(
        rates,
        [seconds](auto wideRates) {
            const auto cyclesPerSecond = wideRates * static_cast<double>(kDepth);
            const auto startPhase = wideRates * kPi * static_cast<double>(kDepth);
            return seconds * kTwoPi * cyclesPerSecond + startPhase;
        },
        upperLanes);
    return sines * 0.5f;
}

} // namespace Korvatune
