#pragma once

#include "filters/DspLayout.h"
#include "filters/DspTypes.h"

#include <span>

namespace Dsp {

// One second-order section, normalised so that a0 is 1 in the recursion; a0 itself is kept
// only for reference.
struct Biquad {
    double a0 = 1.0;
    double a1 = 0.0;
    double a2 = 0.0;
    double b0 = 1.0;
    double b1 = 0.0;
    double b2 = 0.0;

    static Biquad fromPoleZeroPair(const PoleZeroPair& pair);
    // At angular frequency w in radians per sample.
    Complex response(double w) const;
    PoleZeroPair poleZeroPair() const;
};

Complex cascadeResponse(std::span<const Biquad> sections, double w);

} // namespace Dsp
