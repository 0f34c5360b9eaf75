#include "engine/FilterEnvelope.h"

#include "maths/PreciseTrigonometry.h"

#include <cmath>

namespace Korvatune {

float FilterEnvelope::value(float t) const {
    if (!enabled) {
        return 1.0f;
    }
    if (duration > t) {
        const float fraction = t / duration;
        return std::fabs(PreciseMath::cos(2.0f * (fraction * 6.2831855f)));
    }
    return 1.0f;
}

} // namespace Korvatune
