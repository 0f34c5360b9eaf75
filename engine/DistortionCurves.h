#pragma once

#include "engine/DistortionTables.h"
#include "engine/SampleFunctions.h"
#include "maths/PreciseArctangent.h"
#include "maths/PreciseExponential.h"
#include "maths/PreciseTrigonometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

// The 25 transfer curves, each a small callable built once per block, so that a block picks its
// curve once instead of switching on the type for every sample.
namespace Korvatune::DistortionCurves {

inline constexpr float kPi = 3.1415927f;
inline constexpr float kHalfPi = 1.5707964f;
inline constexpr float kDriveRange = 20.0f;
inline constexpr float kCosineRange = 16.0f;

// Inputs beyond full scale wrap around the table. From 2^31 on every float is a multiple of 256,
// so the low 8 bits are 0; NaN reads entry 0 as well instead of converting out of range.
inline int tableIndex(float x) {
    const float scaled = std::fabs(x) * 256.0f;
    if (!(scaled < 2147483648.0f)) {
        return 0;
    }
    return static_cast<int>(scaled) & 0xFF;
}

inline float tableSign(float x) {
    return x > 0.0f ? 1.0f : -1.0f;
}

inline auto linear(float gain) {
    return [gain](float x) { return x * gain; };
}

inline auto table(const DistortionTable& shape, float gain) {
    return [&shape, gain](float x) { return tableSign(x) * gain * shape[tableIndex(x)]; };
}

inline auto asymmetric(const DistortionTable& positive, float positiveScale,
                       const DistortionTable& negative, float negativeScale, float gain) {
    return [&positive, &negative, positiveScale, negativeScale, gain](float x) {
        const int i = tableIndex(x);
        if (x > 0.0f) {
            return positiveScale * gain * positive[i];
        }
        return -(negativeScale * gain * negative[i]);
    };
}

inline auto hardOverload(float amount) {
    // The drive grows without bound towards 1, so full amount is held just below it; below 0
    // the denominator could reach zero.
    const float a = amount >= 1.0f ? 0.99f : std::max(amount, 0.0f);
    const float drive = kDriveRange * a / (1.0f - a);
    return [drive](float x) { return x * (1.0f + drive) / (1.0f + drive * std::fabs(x)); };
}

inline auto fullClip(float gain) {
    return [gain](float x) {
        if (x > 0.01f) {
            return 0.1f * gain;
        }
        if (x < -0.01f) {
            return -0.1f * gain;
        }
        return x;
    };
}

inline auto invertAndDrive(float gain) {
    return [gain](float x) { return invertSample(x) * gain; };
}

// |x| raised to G leaves the float range (0.01 to the 19th) long before the curve stops caring,
// and flushing it there would drop the arctangent half on quiet input. So the chain stays in
// double until p, and below double's normal range, where arctan(r) is r, p is |x| to the power
// G times 1/G: no intermediate depends on the processor's flush mode.
inline float bigBadBend(float magnitude, float gain, float inverseGain) {
    const double base = magnitude;
    const double raised = PreciseMath::pow(base, double{gain});
    if (raised >= std::numeric_limits<double>::min()) {
        return static_cast<float>(PreciseMath::pow(PreciseMath::atan(raised), double{inverseGain}));
    }
    return static_cast<float>(PreciseMath::pow(base, double{gain} * double{inverseGain}));
}

inline auto bigBad(const DistortionTable& shape, float gain) {
    const float inverseGain = 1.0f / gain;
    return [&shape, gain, inverseGain](float x) {
        const float bent = bigBadBend(std::fabs(x), gain, inverseGain);
        const auto arctangentPart = static_cast<float>((x > 0.0f ? 0.2777 : -0.0777) * gain * bent);
        return static_cast<float>(0.4 * tableSign(x) * gain * shape[tableIndex(x)] +
                                  0.6 * arctangentPart);
    };
}

inline auto bigFat(const DistortionTable& shape, float gain) {
    return [&shape, gain](float x) {
        const double sample = x;
        const double magnitude = std::fabs(x);
        const auto rational = static_cast<float>(
            sample * (gain + magnitude) / (1.0 + sample * sample + (gain - 1.0) * magnitude));
        return static_cast<float>(0.55 * rational +
                                  0.45 * tableSign(x) * gain * shape[tableIndex(x)]);
    };
}

inline auto viciousViper(float cosineGain) {
    return [cosineGain](float x) {
        return static_cast<float>(PreciseMath::cos(double{kPi * x * cosineGain}));
    };
}

inline auto assKicking(float cosineGain) {
    return [cosineGain](float x) {
        return static_cast<float>(cosineGain * PreciseMath::cos(double{kHalfPi * x * cosineGain}));
    };
}

inline auto tigersBlood(float cosineGain) {
    return [cosineGain](float x) {
        if (x == 0.0f) {
            return 0.0f;
        }
        return static_cast<float>(cosineGain * PreciseMath::cos(double{kPi * x * cosineGain}));
    };
}

inline auto madDog(float cosineGain) {
    return [cosineGain](float x) {
        return static_cast<float>(PreciseMath::sin(double{kHalfPi * x * cosineGain}));
    };
}

// Hands the curve of `type` at drive `amount` (nonzero) to `use` and returns what it returns.
template <typename Use>
decltype(auto) withCurve(int type, float amount, const DistortionTables& t, Use&& use) {
    const float g = kDriveRange * amount + 1.0f;
    const float c = kCosineRange * amount + 1.0f;
    switch (type) {
    case 1:
        return use(table(t.shape0, g));
    case 2:
        return use(hardOverload(amount));
    case 3:
        return use(table(t.shape8, g));
    case 4:
        return use(table(t.shape9, g));
    case 5:
        return use(asymmetric(t.shape8, 0.5f, t.shape9, 1.0f, g));
    case 6:
        return use(table(t.shape10, g));
    case 7:
        return use(table(t.shape5, g));
    case 8:
        return use(table(t.shape2, g));
    case 9:
        return use(asymmetric(t.shape2, 0.5f, t.shape3, 1.0f, g));
    case 10:
        return use(table(t.shape6, g));
    case 11:
        return use(table(t.shape1, g));
    case 12:
        return use(fullClip(g));
    case 13:
        return use(table(t.shape4, g));
    case 14:
        return use(table(t.shape7, g));
    case 15:
        return use(table(t.shape11, g));
    case 16:
        return use(table(t.shape12, g));
    case 17:
        return use(asymmetric(t.shape12, 1.0f, t.shape11, 0.5f, g));
    case 18:
        return use(invertAndDrive(g));
    case 19:
        return use(bigBad(t.shape13, g));
    case 20:
        return use(bigFat(t.shape14, g));
    case 21:
        return use(viciousViper(c));
    case 22:
        return use(assKicking(c));
    case 23:
        return use(tigersBlood(c));
    case 24:
        return use(madDog(c));
    default:
        return use(linear(g));
    }
}

} // namespace Korvatune::DistortionCurves
