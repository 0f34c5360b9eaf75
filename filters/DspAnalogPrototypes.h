#pragma once

#include "filters/DspLayout.h"

namespace Dsp {

// Analog low-pass prototypes normalised to a cutoff of 1 rad/s. Each rebuilds its layout only
// when its inputs change, since a glide asks for the same prototype every sample.

class ButterworthPrototype {
public:
    void design(int order, LayoutBase& analog);

private:
    int builtOrder = -1;
};

class ChebyshevIPrototype {
public:
    void design(int order, double rippleDb, LayoutBase& analog);

private:
    int builtOrder = -1;
    double builtRippleDb = 0.0;
};

} // namespace Dsp
