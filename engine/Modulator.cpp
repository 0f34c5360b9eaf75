#include "engine/Modulator.h"

#include "engine/PeriodicSine.h"

namespace Korvatune {

namespace {

constexpr double kTwoPi = 6.2831855f;
constexpr double kPi = 3.1415927f;

} // namespace

float Modulator::valueAtRate(float rateValue) const {
    if (rateValue == 0.0f || owner == nullptr) {
        return 1.0f;
    }
    const double seconds = static_cast<double>(counter) / static_cast<double>(sampleRate);
    const double cyclesPerSecond = static_cast<double>(rateValue) * static_cast<double>(kDepth);
    const double startPhase = static_cast<double>(rateValue) * kPi * static_cast<double>(kDepth);
    return periodicSine(seconds * kTwoPi * cyclesPerSecond + startPhase) * 0.5f;
}

} // namespace Korvatune
