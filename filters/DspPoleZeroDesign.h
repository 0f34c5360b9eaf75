#pragma once

#include "filters/DspCascade.h"
#include "filters/DspLayout.h"

#include <algorithm>
#include <vector>

namespace Dsp {

// What the designs built from an analog prototype share: the prototype's layout, the digital
// layout it transforms into and the sections realising it.
template <int MaxOrder, int MaxDigitalPairs> class PoleZeroDesign {
public:
    using CascadeType = Cascade<MaxDigitalPairs>;

    const CascadeType& cascade() const { return coefficients; }
    std::vector<PoleZeroPair> poleZeroPairs() const {
        const auto pairs = digital.pairs();
        return {pairs.begin(), pairs.end()};
    }

protected:
    // The section storage holds MaxOrder poles of the prototype, so larger orders are cut.
    static int usableOrder(double order) {
        return std::clamp(static_cast<int>(order), 1, MaxOrder);
    }

    void realise() { coefficients.setLayout(digital); }

    Layout<(MaxOrder + 1) / 2> analog;
    Layout<MaxDigitalPairs> digital;
    CascadeType coefficients;
};

} // namespace Dsp
