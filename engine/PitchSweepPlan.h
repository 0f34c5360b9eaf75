#pragma once

#include "engine/PitchEnvelope.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace Korvatune {

// A voice's pitch sweep computed ahead for the ages it will reach over its next frames. The
// sweep's power curve is a long chain of dependent operations; worked out together, the frames'
// curves overlap in the processor instead of each waiting on the voice's work around it. An
// entry is taken only where the age and the envelope's shape match bit for bit, so a plan never
// changes the sound. Audio thread only.
class PitchSweepPlan {
public:
    static constexpr std::uint32_t kMaxLength = 32;
    static_assert(kMaxLength % kLanes == 0);

    // The sweep at `age`; ageAt(i) is the age i frames later (1 <= i < kMaxLength).
    template <class Ages>
    [[gnu::always_inline]] float valueAt(const PitchEnvelope& envelope, float age,
                                         const Ages& ageAt) {
        const PitchEnvelope::Shape shape = envelope.shape();
        const bool planned = next < length;
        if (!planned ||
            std::bit_cast<std::uint32_t>(age) != std::bit_cast<std::uint32_t>(ages[next]) ||
            std::memcmp(&shape, &plannedShape, sizeof(shape)) != 0) {
            // After a wrong forecast, a plan of this frame alone, then twice as long each time.
            const std::uint32_t planLength = planned ? 1 : nextLength();
            plan(shape, planLength, age, ageAt);
        }
        return values[next++];
    }

    // For a voice that starts a note: what is planned belongs to the last one.
    void restart() { length = next = 0; }
    // Computes in 256-bit registers where the processor has them; the same bits either way.
    void useWideLanes(bool on) { wide = on && wideLanesAvailable(); }

private:
    std::uint32_t nextLength() const {
        return length == 0 ? kMaxLength : std::min(2 * length, kMaxLength);
    }

    template <class Ages>
    [[gnu::noinline]] void plan(const PitchEnvelope::Shape& shape, std::uint32_t planLength,
                                float age, const Ages& ageAt) {
        plannedShape = shape;
        length = planLength;
        next = 0;
        ages[0] = age;
        for (std::uint32_t i = 1; i < length; ++i) {
            ages[i] = ageAt(i);
        }
        // Four ages at a time; the ages past the plan's end repeat its first.
        for (std::uint32_t i = length; i % kLanes != 0; ++i) {
            ages[i] = age;
        }
        for (std::uint32_t i = 0; i < length; i += kLanes) {
            const FloatLanes lanes = PitchEnvelope::valuesOf(
                shape, FloatLanes{ages[i], ages[i + 1], ages[i + 2], ages[i + 3]}, wide);
            for (int lane = 0; lane < kLanes; ++lane) {
                values[i + static_cast<std::uint32_t>(lane)] = lanes[lane];
            }
        }
    }

    bool wide = false;
    PitchEnvelope::Shape plannedShape{};
    std::uint32_t length = 0;
    std::uint32_t next = 0;
    std::array<float, kMaxLength> ages{};
    std::array<float, kMaxLength> values{};
};

} // namespace Korvatune
