#pragma once

#include "filters/DspBiquad.h"
#include "filters/DspLayout.h"
#include "maths/ComplexMath.h"

#include <array>
#include <span>

namespace Dsp {

// The coefficients of a design: up to MaxSections second-order sections in series. Sections
// beyond the design's pole count stay unused.
template <int MaxSections> class Cascade {
public:
    static constexpr int maxSections = MaxSections;

    // One section per pole/zero pair, then scaled to the layout's reference gain.
    void setLayout(const LayoutBase& digital) {
        count = digital.pairCount();
        for (int i = 0; i < count; ++i) {
            sections[i] = Biquad::fromPoleZeroPair(digital[i]);
        }
        scaleToReference(digital.referenceFrequency, digital.referenceGain);
    }

    void setSingleSection(const Biquad& section) {
        sections[0] = section;
        count = 1;
    }

    int sectionCount() const { return count; }
    const Biquad& section(int index) const { return sections[index]; }
    std::span<const Biquad> activeSections() const {
        return std::span<const Biquad>(sections).first(count);
    }
    Complex response(double w) const { return cascadeResponse(activeSections(), w); }

private:
    void scaleToReference(double w, double gain) {
        const double scale = gain / Korvatune::PreciseMath::magnitude(response(w));
        sections[0].b0 *= scale;
        sections[0].b1 *= scale;
        sections[0].b2 *= scale;
    }

    std::array<Biquad, MaxSections> sections{};
    int count = 0;
};

} // namespace Dsp
