#pragma once

#include "filters/DspBiquad.h"

namespace Dsp {

// Section state for the Direct Form II recursion: the two previous intermediate values.
class DirectFormII {
public:
    void reset() {
        w1 = 0.0;
        w2 = 0.0;
    }

    double process(double x, const Biquad& s, double offset) {
        const double w = x - s.a1 * w1 - s.a2 * w2 + offset;
        const double y = s.b0 * w + s.b1 * w1 + s.b2 * w2;
        w2 = w1;
        w1 = w;
        return y;
    }

    // The two stored values, for a caller that runs several channels' recursions side by side.
    double& previous() { return w1; }
    double& beforePrevious() { return w2; }

private:
    double w1 = 0.0;
    double w2 = 0.0;
};

} // namespace Dsp
