#include "engine/Modulator.h"

#include "engine/PeriodicSine.h"

#include <bit>

namespace Korvatune {

namespace {

constexpr double kTwoPi = 6.2831855f;
constexpr double kPi = 3.1415927f;

} // namespace

float Modulator::valueAtRate(float rateValue) {
    if (rateValue == 0.0f || owner == nullptr) {
        return 1.0f;
    }
    ModulatorMemo& memo = sharedMemo != nullptr ? *sharedMemo : ownMemo;
    // Bit patterns, not float equality: a NaN key then still matches itself.
    if (memo.known && counter == memo.counter &&
        std::bit_cast<std::uint32_t>(rateValue) == std::bit_cast<std::uint32_t>(memo.rate) &&
        std::bit_cast<std::uint32_t>(sampleRate) == std::bit_cast<std::uint32_t>(memo.sampleRate)) {
        return memo.value;
    }
    memo = {true, counter, rateValue, sampleRate, sineAt(rateValue)};
    return memo.value;
}

float Modulator::sineAt(float rateValue) const {
    const double seconds = static_cast<double>(counter) / static_cast<double>(sampleRate);
    const double cyclesPerSecond = static_cast<double>(rateValue) * static_cast<double>(kDepth);
    const double startPhase = static_cast<double>(rateValue) * kPi * static_cast<double>(kDepth);
    return periodicSine(seconds * kTwoPi * cyclesPerSecond + startPhase) * 0.5f;
}

} // namespace Korvatune
